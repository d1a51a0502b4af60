// A COM interface pointer that is released when it goes, for the Windows files that use COM (the PNG
// decoder, the desktop program's file dialogs). Needs no Windows header of its own.
#pragma once

namespace granvel::windows {

template <class T>
struct ComPtr {
  T* p = nullptr;
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p)
      p->Release();
  }
  T* operator->() const { return p; }
};

}  // namespace granvel::windows
