// winmm's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/mmsystem.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"timeGetTime", ExportAddress(&timeGetTime)},
    {"timeBeginPeriod", ExportAddress(&timeBeginPeriod)},
    {"timeEndPeriod", ExportAddress(&timeEndPeriod)},
    {"timeGetDevCaps", ExportAddress(&timeGetDevCaps)},
    {"joyGetDevCapsA", ExportAddress(&joyGetDevCapsA)},
    {"joyGetPosEx", ExportAddress(&joyGetPosEx)},
    {"timeSetEvent", ExportAddress(&timeSetEvent)},
    {"timeKillEvent", ExportAddress(&timeKillEvent)},
    {"mciSendCommandA", ExportAddress(&mciSendCommandA)},
};

}  // namespace

extern const ModuleDefinition kWinmmModule{"winmm", kExports};

}  // namespace wqplat
