// The GDI wrappers' creation and deletion counters.
#include "framework/Gdi.h"

GdiCounters& GetGdiCounters()
{
    static GdiCounters counters;
    return counters;
}

UINT GdiCountersMessageId()
{
    static const UINT id = ::RegisterWindowMessageA("Quon.GdiCounters");
    return id;
}

LRESULT GdiCounterValue(WPARAM which)
{
    const GdiCounters& c = GetGdiCounters();
    switch (static_cast<GdiCounter>(which)) {
    case GdiCounter::Created:
        return c.created;
    case GdiCounter::Deleted:
        return c.deleted;
    case GdiCounter::Released:
        return c.released;
    case GdiCounter::Failed:
        return c.failed;
    case GdiCounter::Live:
        return c.Live();
    }
    return 0;
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
