#include "platform/gl/gl_shader.h"

namespace {
// WebGL 2 reads GLSL ES 3.00: the programs' "#version 330 core" line becomes
// "#version 300 es" with default precisions, and "#line" keeps the compiler's
// line numbers those of the original text. A vertex program's colour comes in
// as R, G, B, A bytes of the B, G, R, A memory order and is swizzled back.
constexpr char kDesktopVersion[] = "#version 330 core\n";
constexpr char kColourInput[] = "in vec4 inColour;";

// Unused, and so not emitted, where the build targets desktop GL.
[[maybe_unused]] std::string AsGlslEs(const char* source, bool vertex) {
    std::string text = source;
    if (text.rfind(kDesktopVersion, 0) != 0) return text;
    std::string header = "#version 300 es\nprecision highp float;\nprecision highp int;\n";
    size_t colour = vertex ? text.find(kColourInput) : std::string::npos;
    if (colour != std::string::npos) {
        text.replace(colour, sizeof kColourInput - 1, std::string("in vec4 ") + kGlBgraColourInput + ";");
        header += std::string("#define inColour ") + kGlBgraColourInput + ".bgra\n";
    }
    return header + "#line 2\n" + text.substr(sizeof kDesktopVersion - 1);
}

std::string ShaderLog(GLuint shader) {
    GLint size = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &size);
    std::string log(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) glGetShaderInfoLog(shader, size, nullptr, log.data());
    while (!log.empty() && (log.back() == '\0' || log.back() == '\n')) log.pop_back();
    return log;
}

std::string ProgramLog(GLuint program) {
    GLint size = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &size);
    std::string log(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) glGetProgramInfoLog(program, size, nullptr, log.data());
    while (!log.empty() && (log.back() == '\0' || log.back() == '\n')) log.pop_back();
    return log;
}

GLuint Compile(GLenum stage, const char* source, std::string* log) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    *log = ShaderLog(shader);
    glDeleteShader(shader);
    return 0;
}
}  // namespace

GlShaderResult BuildProgram(const char* vertexSource, const char* fragmentSource) {
    std::string vertexText, fragmentText;
    if constexpr (kGlWebGl2) {
        vertexText = AsGlslEs(vertexSource, true);
        fragmentText = AsGlslEs(fragmentSource, false);
        vertexSource = vertexText.c_str();
        fragmentSource = fragmentText.c_str();
    }
    GlShaderResult result;
    GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, &result.log);
    if (vertex == 0) {
        result.failed = GlShaderResult::kVertex;
        return result;
    }
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource, &result.log);
    if (fragment == 0) {
        result.failed = GlShaderResult::kFragment;
        glDeleteShader(vertex);
        return result;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, kAttribPosition, "inPosition");
    glBindAttribLocation(program, kAttribNormal, "inNormal");
    glBindAttribLocation(program, kAttribColour, kGlWebGl2 ? kGlBgraColourInput : "inColour");
    glBindAttribLocation(program, kAttribTexCoord, "inTexCoord");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok == GL_TRUE) {
        result.program = program;
        return result;
    }
    result.failed = GlShaderResult::kLink;
    result.log = ProgramLog(program);
    glDeleteProgram(program);
    return result;
}
