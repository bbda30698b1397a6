#include "platform/shared/effect_errors.h"

namespace {
// The error text as an ID3DXBuffer: the characters and their terminating zero.
class TextBuffer final : public ID3DXBuffer {
public:
    explicit TextBuffer(std::string text) : text(std::move(text)) {}
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }
    void* GetBufferPointer() override { return text.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(text.size() + 1); }

private:
    ULONG references = 1;
    std::string text;
};
}  // namespace

HRESULT FailEffect(HRESULT status, const std::string& message, ID3DXBuffer** errors) {
    if (errors) *errors = new TextBuffer(message);
    return status;
}

std::string AtLine(const std::string& path, const EffectParseError& error) {
    return path + ":" + std::to_string(error.line) + ": " + error.reason;
}
