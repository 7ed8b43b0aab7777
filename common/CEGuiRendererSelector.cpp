#include "common/CEGuiRendererSelector.h"

void CEGuiRendererSelector::SetRendererAvailability(RendererType type, bool available)
{
    if (type >= 0 && type < kTypeCount)
        m_available[type] = available;
}

bool CEGuiRendererSelector::InvokeDialog()
{
    for (int type = 0; type < kTypeCount; ++type) {
        if (m_available[type]) {
            m_lastSelected = static_cast<RendererType>(type);
            return true;
        }
    }
    return false;
}
