// Internal to the platform layer: how our effects name their parameters and
// techniques. A handle is the name pointer of the item's own string; a
// pointer that is no item's is read as a name, as D3DX reads it.
#pragma once

#include <vector>

#include <d3dx9.h>

// Items have a std::string `name`.
template <class Item>
Item* FindByHandle(std::vector<Item>& items, D3DXHANDLE handle) {
    if (handle == nullptr) return nullptr;
    for (Item& item : items)
        if (item.name.c_str() == handle) return &item;
    for (Item& item : items)
        if (item.name == handle) return &item;
    return nullptr;
}

template <class Item>
D3DXHANDLE HandleByName(const std::vector<Item>& items, const char* name) {
    if (name == nullptr) return nullptr;
    for (const Item& item : items)
        if (item.name == name) return item.name.c_str();
    return nullptr;
}
