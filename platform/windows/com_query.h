// QueryInterface for the wrappers: the object itself for the interfaces it
// implements, with a reference, and nothing for any other.
#pragma once

#include <initializer_list>

#include <unknwn.h>

inline HRESULT AnswerQuery(IUnknown* self, REFIID riid, void** object, std::initializer_list<GUID> implemented) {
    if (object == nullptr) return E_POINTER;
    for (const GUID& id : implemented) {
        if (riid == id) {
            self->AddRef();
            *object = self;
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}
