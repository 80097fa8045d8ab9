// The DirectDraw 7 object: initialisation, the co-operative level and
// vertical-blank waits on the display clock.
#include "ddraw/vertical_blank.h"
#include "ole32/com_object.h"
#include "ole32/com_class_table.h"
#include "platform/ddraw.h"

namespace wqplat {
namespace {

class DirectDraw final : public ComObject<D_IDirectDraw7, IID_IDirectDraw7> {
 public:
  HRESULT Initialize(GUID* driver) override {
    if (driver) return D_DDERR_INVALIDPARAMS;
    if (initialized_) return D_DDERR_ALREADYINITIALIZED;
    initialized_ = true;
    return D_DD_OK;
  }

  HRESULT SetCooperativeLevel(HWND /*window*/, DWORD flags) override {
    if (!initialized_) return D_DDERR_NOTINITIALIZED;
    bool normal = (flags & D_DDSCL_NORMAL) != 0;
    bool exclusive = (flags & (D_DDSCL_EXCLUSIVE | D_DDSCL_FULLSCREEN)) != 0;
    return normal != exclusive ? D_DD_OK : D_DDERR_INVALIDPARAMS;
  }

  HRESULT WaitForVerticalBlank(DWORD flags, HANDLE /*event*/) override {
    if (!initialized_) return D_DDERR_NOTINITIALIZED;
    if (flags != D_DDWAITVB_BLOCKBEGIN && flags != D_DDWAITVB_BLOCKEND) {
      return flags == D_DDWAITVB_BLOCKBEGINEVENT ? D_DDERR_UNSUPPORTED : D_DDERR_INVALIDPARAMS;
    }
    WaitForNextVerticalBlank();
    return D_DD_OK;
  }

 private:
  bool initialized_ = false;
};

const ComClassDefinition kClasses[] = {{CLSID_DirectDraw7, &CreateComClassObject<DirectDraw>}};

}  // namespace

extern const ComClassTable kDdrawComClasses{"ddraw", kClasses};

}  // namespace wqplat
