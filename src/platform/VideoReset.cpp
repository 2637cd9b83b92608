#include "platform/Backend.h"
#include "platform/Upscale.h"

namespace platform {
namespace {
void (*g_resetHandler)() = nullptr;
}

void SetVideoResetHandler(void (*handler)()) { g_resetHandler = handler; }

void NotifyVideoReset() {
    ResetUpscaler();
    if (g_resetHandler) g_resetHandler();
}
}  // namespace platform
