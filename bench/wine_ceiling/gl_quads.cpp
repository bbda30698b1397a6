// d3d9_quads.cpp's frame through OpenGL 3.3 core on SDL2, as the Linux build
// draws: clear, QUADS screen-covering quads, swap without vertical sync.
// Usage: gl_quads QUADS SECONDS DEPTH (16, or 0 for no depth buffer)
#include <SDL2/SDL.h>
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: gl_quads QUADS SECONDS DEPTH\n");
        return 2;
    }
    const int quads = std::atoi(argv[1]), seconds = std::atoi(argv[2]), depthBits = std::atoi(argv[3]);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "gl_quads: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    SDL_Window* window = SDL_CreateWindow("quads", 0, 0, desktop.w, desktop.h, SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "gl_quads: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    const char* vertexSource =
        "#version 330\nlayout(location = 0) in vec2 p; layout(location = 1) in vec4 c; out vec4 colour;\n"
        "void main() { colour = c; gl_Position = vec4(p, 0.0, 1.0); }\n";
    const char* fragmentSource = "#version 330\nin vec4 colour; out vec4 o; void main() { o = colour; }\n";
    const GLuint program = glCreateProgram();
    for (auto [type, source] : {std::pair{GL_VERTEX_SHADER, vertexSource}, std::pair{GL_FRAGMENT_SHADER, fragmentSource}}) {
        const GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    glUseProgram(program);
    const float quad[] = {-1, 1,  0.13f, 0.25f, 0.63f, 1, 1, 1,  0.25f, 0.63f, 0.13f, 1, -1, -1, 0.63f, 0.13f, 0.25f, 1,
                          1,  1,  0.25f, 0.63f, 0.13f, 1, 1, -1, 0.13f, 0.13f, 0.13f, 1, -1, -1, 0.63f, 0.13f, 0.25f, 1};
    GLuint array = 0, buffer = 0;
    glGenVertexArrays(1, &array);
    glBindVertexArray(array);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 24, nullptr);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<void*>(8));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    if (depthBits) glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    const Uint64 frequency = SDL_GetPerformanceFrequency(), start = SDL_GetPerformanceCounter();
    Uint64 now = start;
    long frames = 0;
    do {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | (depthBits ? GL_DEPTH_BUFFER_BIT : 0));
        for (int i = 0; i < quads; ++i) glDrawArrays(GL_TRIANGLES, 0, 6);
        SDL_GL_SwapWindow(window);
        ++frames;
        now = SDL_GetPerformanceCounter();
    } while (now - start < static_cast<Uint64>(seconds) * frequency);
    std::printf("%.1f\n", frames * static_cast<double>(frequency) / static_cast<double>(now - start));
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
