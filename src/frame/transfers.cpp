// Transfer entry points that differ from their operation: the host-file helpers, and the host-path
// transfers with a plain C progress callback, which wrap the callback in a delegate and call the
// delegate form.
#include "common/transfer.h"
#include "frame/registry.h"

namespace {

// Carries a C host's callback and context through a progress delegate for one call.
class CProgressCallbackAdapter {
 public:
  CProgressCallbackAdapter(tqvProgressCallback callback, void* context)
      : m_callback(callback), m_context(context) {}
  int Adapter(u32 done, u32 total) { return m_callback(done, total, m_context); }

  // A delegate bound to this adapter, or an empty one when the host gave no callback.
  tqvProgressDelegate Delegate() {
    if (!m_callback) return {};
    return tqvProgressDelegate::FromMethod<CProgressCallbackAdapter,
                                           &CProgressCallbackAdapter::Adapter>(this);
  }

 private:
  tqvProgressCallback m_callback;
  void* m_context;
};

}  // namespace

TQV_API tqvFilePtr tqvOpenFileStdWrite(const char* path) { return transfer::OpenHostWrite(path); }

TQV_API tqvFilePtr tqvOpenFileStdRead(const char* path) { return transfer::OpenHostRead(path); }

// The adapter lives on the stack for the call only.
#define TQV_STDC(Name, params, args)                                      \
  extern "C" TQV_API u32 tqv##Name##C params {                            \
    CProgressCallbackAdapter adapter(callback, context);                  \
    return tqv##Name args;                                                \
  }                                                                       \
  static_assert(std::is_same_v<decltype(&::tqv##Name##C), u32(*) params>, \
                "the public header must declare tqv" #Name "C with these parameters");

#define TQV_C_PROGRESS tqvProgressCallback callback, void *context

TQV_STDC(DownloadNUCStd, (void* handle, const char* name, const char* hostPath, TQV_C_PROGRESS),
         (handle, name, hostPath, adapter.Delegate()))
TQV_STDC(UploadNUCStd, (void* handle, const char* hostPath, TQV_C_PROGRESS),
         (handle, hostPath, adapter.Delegate()))
TQV_STDC(UploadNUCStdEx, (void* handle, const char* name, const char* hostPath, TQV_C_PROGRESS),
         (handle, name, hostPath, adapter.Delegate()))
TQV_STDC(DownloadStateStd, (void* handle, const char* name, const char* hostPath, TQV_C_PROGRESS),
         (handle, name, hostPath, adapter.Delegate()))
TQV_STDC(UploadStateStd, (void* handle, const char* hostPath, TQV_C_PROGRESS),
         (handle, hostPath, adapter.Delegate()))
TQV_STDC(DownloadFactoryDefaultStateStd, (void* handle, const char* hostPath, TQV_C_PROGRESS),
         (handle, hostPath, adapter.Delegate()))
TQV_STDC(UploadFactoryDefaultStateStd, (void* handle, const char* hostPath, TQV_C_PROGRESS),
         (handle, hostPath, adapter.Delegate()))
TQV_STDC(DownloadLensStateStd,
         (void* handle, const char* name, const char* hostPath, TQV_C_PROGRESS),
         (handle, name, hostPath, adapter.Delegate()))
TQV_STDC(UploadLensStateStd, (void* handle, const char* hostPath, TQV_C_PROGRESS),
         (handle, hostPath, adapter.Delegate()))
TQV_STDC(DownloadPaletteStd, (void* handle, const char* name, const char* hostPath, TQV_C_PROGRESS),
         (handle, name, hostPath, adapter.Delegate()))
TQV_STDC(UploadPaletteStd, (void* handle, const char* hostPath, TQV_C_PROGRESS),
         (handle, hostPath, adapter.Delegate()))
TQV_STDC(DownloadFileStd,
         (void* handle, const char* cameraPath, const char* hostPath, TQV_C_PROGRESS),
         (handle, cameraPath, hostPath, adapter.Delegate()))
TQV_STDC(UploadFileStd,
         (void* handle, const char* cameraPath, const char* hostPath, TQV_C_PROGRESS),
         (handle, cameraPath, hostPath, adapter.Delegate()))
