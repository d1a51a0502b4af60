// COM for the Windows files that use it (the PNG decoder and encoder, the desktop program's file dialogs): an
// interface pointer that is released when it goes, COM for a thread while an object lives, and a failure's
// words. Needs no Windows header of its own.
#pragma once

#include <string>

namespace granvel::windows {

// COM for the calling thread while the object lives, unless the thread has it already in another mode.
class ComScope {
 public:
  ComScope();
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  long result_;  // the HRESULT of the initialisation
};

// "<what> failed (0x80004005)": a COM call's failure in words.
std::string ComFailure(const char* what, long result);

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
