// The GDI wrappers' creation and deletion counters.
#include "framework/Gdi.h"

GdiCounters& GetGdiCounters()
{
    static GdiCounters counters;
    return counters;
}

namespace gdi_detail {

void NoteCreated(HGDIOBJ handle)
{
    if (handle)
        ++GetGdiCounters().created;
    else
        ++GetGdiCounters().failed;
}

void NoteDeleted() { ++GetGdiCounters().deleted; }

void NoteReleased() { ++GetGdiCounters().released; }

}  // namespace gdi_detail
