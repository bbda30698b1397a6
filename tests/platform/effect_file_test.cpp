// The effect text parser: the shipped file, and each malformed case with the
// line and the reason it reports.
#include <gtest/gtest.h>

#include <string>

#include "platform/shared/effect_file.h"

namespace {
const char* const kMinimal =
    "parameter matrix mWorldViewProjection\n"
    "parameter float MagicValue unused\n"
    "technique Plain\n"
    "state ZFunc Less\n"
    "state AlphaBlendEnable true\n"
    "vertex\n"
    "void main() {}\n"
    "end\n"
    "fragment\n"
    "line one\n"
    "line two\n"
    "end\n";
}  // namespace

// Windows line ends and comments, as a file edited on Windows would have them.
TEST(EffectFile, ReadsParametersStatesAndProgramsWithTheirFirstLines) {
    std::string text = "# comment\r\n  \t\r\n";
    for (const char* c = kMinimal; *c; ++c) text += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
    text += "fragment asm\r\nps_2_0\r\nend\r\nvertex asm\r\nvs_2_0\r\ndp4 oPos.x, v0, c0\r\nend\r\n";
    EffectFileDescription d;
    EffectParseError error;
    ASSERT_TRUE(ParseEffectFile(text, &d, &error)) << error.line << ": " << error.reason;
    ASSERT_EQ(std::make_pair(d.parameters.size(), d.techniques.size()), std::make_pair(size_t{2}, size_t{1}));
    EXPECT_EQ(std::make_pair(d.parameters[0].unused, d.parameters[1].unused), std::make_pair(false, true));
    const EffectTechniqueDecl& t = d.techniques[0];
    ASSERT_EQ(2u, t.states.size());
    EXPECT_EQ(std::make_tuple(t.states[0].state, t.states[0].value, t.states[1].value),
              std::make_tuple(D3DRS_ZFUNC, DWORD{D3DCMP_LESS}, DWORD{TRUE}));
    EXPECT_EQ(std::make_pair(t.vertex.source, t.vertex.firstLine), std::make_pair(std::string("void main() {}\n"), 9));
    EXPECT_EQ(std::make_pair(t.fragment.source, t.fragment.firstLine), std::make_pair(std::string("line one\nline two\n"), 12));
    // The assembly programs are kept apart from the GLSL ones.
    EXPECT_EQ(std::make_pair(t.fragmentAssembly.source, t.fragmentAssembly.firstLine),
              std::make_pair(std::string("ps_2_0\n"), 16));
    EXPECT_EQ(std::make_pair(t.vertexAssembly.source, t.vertexAssembly.firstLine),
              std::make_pair(std::string("vs_2_0\ndp4 oPos.x, v0, c0\n"), 19));
}

TEST(EffectFile, MalformedFilesNameTheLineAndTheReason) {
    struct Case {
        std::string text;
        int line;
        const char* reason;
    } cases[] = {
        {"parameter colour Tint\n", 1, "unknown parameter kind 'colour'"},
        {"parameter float\n", 1, "parameter needs a kind and a name"},
        {"parameter float 9lives\n", 1, "bad parameter name '9lives'"},
        {"parameter float A\nparameter vector A\n", 2, "parameter 'A' declared twice"},
        {"parameter float A spare\n", 1, "unexpected 'spare' after the parameter name"},
        {"\n\nshader x\n", 3, "unknown directive 'shader'"},
        {"parameter float A\n", 1, "no technique in the file"},
        {"", 0, "no technique in the file"},
        {"technique T\nvertex\nx\nend\n", 1, "technique 'T' has no fragment program"},
        {"technique T\nfragment\nx\nend\n", 1, "technique 'T' has no vertex program"},
        {"technique T\nvertex\nx\n", 2, "vertex program not closed by 'end'"},
        {"technique T\nvertex\nend\nvertex\nend\n", 4, "vertex program given twice"},
        {"technique T\nvertex asm\nx\n", 2, "vertex asm program not closed by 'end'"},
        {"technique T\nfragment asm\nend\nfragment asm\nend\n", 4, "fragment asm program given twice"},
        {"technique T\nvertex hlsl\n", 2, "unexpected text after 'vertex'"},
        {"state ZFunc Less\n", 1, "state outside a technique"},
        {"technique T\nstate ZFunc Sometimes\n", 2, "bad value 'Sometimes' for state ZFunc"},
        {"technique T\nstate Fog true\n", 2, "unknown state 'Fog'"},
        {"vertex\nend\n", 1, "vertex program outside a technique"},
        {"technique\n", 1, "technique needs one name"},
        {std::string(kMinimal) + "technique Plain\n", 13, "technique 'Plain' declared twice"},
        {std::string(kMinimal) + "parameter float Late\n", 13, "parameters must come before the techniques"},
        {std::string("parameter float A\0B\n", 20), 0, "file holds a NUL character"},
        {std::string(kEffectFileLimit + 1, '\n'), 0, "file larger than 1 MiB"},
    };
    for (const Case& c : cases) {
        EffectFileDescription description;
        EffectParseError error;
        EXPECT_FALSE(ParseEffectFile(c.text, &description, &error)) << c.text;
        EXPECT_EQ(c.line, error.line) << c.reason;
        EXPECT_EQ(c.reason, error.reason);
    }
}
