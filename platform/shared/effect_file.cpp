#include "platform/shared/effect_file.h"

#include <cstring>

namespace {
struct Named {
    const char* name;
    DWORD value;
};

constexpr Named kKinds[] = {{"texture", 0}, {"float", 1}, {"vector", 2}, {"matrix", 3}};
constexpr Named kBooleans[] = {{"false", FALSE}, {"true", TRUE}};
constexpr Named kCompares[] = {{"Never", D3DCMP_NEVER},     {"Less", D3DCMP_LESS},
                               {"Equal", D3DCMP_EQUAL},     {"LessEqual", D3DCMP_LESSEQUAL},
                               {"Greater", D3DCMP_GREATER}, {"NotEqual", D3DCMP_NOTEQUAL},
                               {"GreaterEqual", D3DCMP_GREATEREQUAL}, {"Always", D3DCMP_ALWAYS}};
constexpr Named kBlends[] = {{"Zero", D3DBLEND_ZERO},           {"One", D3DBLEND_ONE},
                             {"SrcColor", D3DBLEND_SRCCOLOR},   {"InvSrcColor", D3DBLEND_INVSRCCOLOR},
                             {"SrcAlpha", D3DBLEND_SRCALPHA},   {"InvSrcAlpha", D3DBLEND_INVSRCALPHA},
                             {"DestAlpha", D3DBLEND_DESTALPHA}, {"InvDestAlpha", D3DBLEND_INVDESTALPHA}};
constexpr Named kBlendOps[] = {{"Add", D3DBLENDOP_ADD}, {"Subtract", D3DBLENDOP_SUBTRACT},
                               {"RevSubtract", D3DBLENDOP_REVSUBTRACT}};
constexpr Named kCulls[] = {{"None", D3DCULL_NONE}, {"CW", D3DCULL_CW}, {"CCW", D3DCULL_CCW}};

struct StateSyntax {
    const char* name;
    D3DRENDERSTATETYPE state;
    const Named* values;
    size_t valueCount;
};

template <size_t N>
constexpr StateSyntax State(const char* name, D3DRENDERSTATETYPE state, const Named (&values)[N]) {
    return {name, state, values, N};
}

constexpr StateSyntax kStates[] = {
    State("ZEnable", D3DRS_ZENABLE, kBooleans),       State("ZWriteEnable", D3DRS_ZWRITEENABLE, kBooleans),
    State("ZFunc", D3DRS_ZFUNC, kCompares),           State("AlphaBlendEnable", D3DRS_ALPHABLENDENABLE, kBooleans),
    State("SrcBlend", D3DRS_SRCBLEND, kBlends),       State("DestBlend", D3DRS_DESTBLEND, kBlends),
    State("BlendOp", D3DRS_BLENDOP, kBlendOps),       State("CullMode", D3DRS_CULLMODE, kCulls),
};

const Named* Find(const Named* table, size_t count, std::string_view name) {
    for (size_t i = 0; i < count; ++i)
        if (name == table[i].name) return &table[i];
    return nullptr;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

bool IsName(std::string_view name) {
    if (name.empty() || name.size() > kEffectNameLimit) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

class Parser {
public:
    Parser(std::string_view text, EffectFileDescription* out, EffectParseError* error)
        : text(text), out(out), error(error) {}
    bool Run();

private:
    bool NextLine(std::string_view* line);
    bool Fail(int at, std::string reason);
    bool Directive(const std::vector<std::string_view>& tokens);
    bool Parameter(const std::vector<std::string_view>& tokens);
    bool Technique(const std::vector<std::string_view>& tokens);
    bool StateLine(const std::vector<std::string_view>& tokens);
    bool Program(const std::vector<std::string_view>& tokens);
    bool FinishTechnique();

    std::string_view text;
    EffectFileDescription* out;
    EffectParseError* error;
    size_t position = 0;
    int lineNumber = 0;
    EffectTechniqueDecl* technique = nullptr;
};

bool Parser::Fail(int at, std::string reason) {
    error->line = at;
    error->reason = std::move(reason);
    return false;
}

bool Parser::NextLine(std::string_view* line) {
    if (position >= text.size()) return false;
    size_t end = text.find('\n', position);
    if (end == std::string_view::npos) end = text.size();
    *line = text.substr(position, end - position);
    if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
    position = end + 1;
    ++lineNumber;
    return true;
}

bool Parser::Run() {
    *out = EffectFileDescription{};
    if (text.size() > kEffectFileLimit) return Fail(0, "file larger than 1 MiB");
    if (text.find('\0') != std::string_view::npos) return Fail(0, "file holds a NUL character");
    std::string_view line;
    while (NextLine(&line)) {
        std::vector<std::string_view> tokens = Tokens(line);
        if (tokens.empty() || tokens[0][0] == '#') continue;
        if (!Directive(tokens)) return false;
    }
    if (!FinishTechnique()) return false;
    if (out->techniques.empty()) return Fail(lineNumber, "no technique in the file");
    return true;
}

bool Parser::Directive(const std::vector<std::string_view>& tokens) {
    if (tokens[0] == "parameter") return Parameter(tokens);
    if (tokens[0] == "technique") return Technique(tokens);
    if (tokens[0] == "state") return StateLine(tokens);
    if (tokens[0] == "vertex" || tokens[0] == "fragment") return Program(tokens);
    return Fail(lineNumber, "unknown directive '" + std::string(tokens[0]) + "'");
}

bool Parser::Parameter(const std::vector<std::string_view>& tokens) {
    if (technique != nullptr) return Fail(lineNumber, "parameters must come before the techniques");
    if (tokens.size() < 3) return Fail(lineNumber, "parameter needs a kind and a name");
    const Named* kind = Find(kKinds, std::size(kKinds), tokens[1]);
    if (kind == nullptr) return Fail(lineNumber, "unknown parameter kind '" + std::string(tokens[1]) + "'");
    if (!IsName(tokens[2])) return Fail(lineNumber, "bad parameter name '" + std::string(tokens[2]) + "'");
    bool unused = tokens.size() == 4 && tokens[3] == "unused";
    if (tokens.size() > 4 || (tokens.size() == 4 && !unused))
        return Fail(lineNumber, "unexpected '" + std::string(tokens[3]) + "' after the parameter name");
    for (const EffectParameterDecl& p : out->parameters)
        if (p.name == tokens[2]) return Fail(lineNumber, "parameter '" + p.name + "' declared twice");
    out->parameters.push_back(
        {std::string(tokens[2]), static_cast<EffectParameterKind>(kind->value), unused, lineNumber});
    return true;
}

bool Parser::Technique(const std::vector<std::string_view>& tokens) {
    if (!FinishTechnique()) return false;
    if (tokens.size() != 2 || !IsName(tokens[1])) return Fail(lineNumber, "technique needs one name");
    for (const EffectTechniqueDecl& t : out->techniques)
        if (t.name == tokens[1]) return Fail(lineNumber, "technique '" + t.name + "' declared twice");
    out->techniques.push_back({std::string(tokens[1]), lineNumber, {}, {}, {}, {}, {}});
    technique = &out->techniques.back();
    return true;
}

bool Parser::StateLine(const std::vector<std::string_view>& tokens) {
    if (technique == nullptr) return Fail(lineNumber, "state outside a technique");
    if (tokens.size() != 3) return Fail(lineNumber, "state needs a name and a value");
    for (const StateSyntax& syntax : kStates) {
        if (tokens[1] != syntax.name) continue;
        const Named* value = Find(syntax.values, syntax.valueCount, tokens[2]);
        if (value == nullptr)
            return Fail(lineNumber, "bad value '" + std::string(tokens[2]) + "' for state " + syntax.name);
        technique->states.push_back({syntax.state, value->value, lineNumber});
        return true;
    }
    return Fail(lineNumber, "unknown state '" + std::string(tokens[1]) + "'");
}

bool Parser::Program(const std::vector<std::string_view>& tokens) {
    if (technique == nullptr) return Fail(lineNumber, std::string(tokens[0]) + " program outside a technique");
    bool assembly = tokens.size() == 2 && tokens[1] == "asm";
    if (tokens.size() != 1 && !assembly)
        return Fail(lineNumber, "unexpected text after '" + std::string(tokens[0]) + "'");
    bool vertex = tokens[0] == "vertex";
    EffectProgramText& program = assembly ? (vertex ? technique->vertexAssembly : technique->fragmentAssembly)
                                          : (vertex ? technique->vertex : technique->fragment);
    std::string what = std::string(tokens[0]) + (assembly ? " asm" : "");
    if (program.firstLine != 0) return Fail(lineNumber, what + " program given twice");
    int opening = lineNumber;
    program.firstLine = lineNumber + 1;
    std::string_view line;
    while (NextLine(&line)) {
        std::vector<std::string_view> words = Tokens(line);
        if (words.size() == 1 && words[0] == "end") return true;
        program.source.append(line);
        program.source.push_back('\n');
    }
    return Fail(opening, what + " program not closed by 'end'");
}

bool Parser::FinishTechnique() {
    if (technique == nullptr) return true;
    if (technique->vertex.firstLine == 0) return Fail(technique->line, "technique '" + technique->name + "' has no vertex program");
    if (technique->fragment.firstLine == 0)
        return Fail(technique->line, "technique '" + technique->name + "' has no fragment program");
    technique = nullptr;
    return true;
}
}  // namespace

bool ParseEffectFile(std::string_view text, EffectFileDescription* out, EffectParseError* error) {
    return Parser(text, out, error).Run();
}
