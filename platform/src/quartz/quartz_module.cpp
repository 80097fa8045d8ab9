// quartz's classes: the system components that filter graphs are made of.
#include "ole32/com_class_table.h"
#include "quartz/filter_graph.h"
#include "quartz/memory_allocator.h"
#include "quartz/renderer_filter.h"
#include "quartz/seeking_pass_through.h"
#include "quartz/system_reference_clock.h"

namespace wqplat {
namespace {

const ComClassDefinition kClasses[] = {
    {D_CLSID_MemoryAllocator, &CreateMemoryAllocator},
    {D_CLSID_SystemClock, &CreateSystemReferenceClock},
    {D_CLSID_SeekingPassThru, &CreateSeekingPassThru, &CreateSeekingPassThruAggregated},
    {D_CLSID_FilterGraph, &CreateFilterGraph},
    {D_CLSID_NullRenderer, &CreateNullRenderer},
};

}  // namespace

extern const ComClassTable kQuartzClasses{"quartz", kClasses};

}  // namespace wqplat
