#include "common/CEGuiLogBridge.h"

#include "platform/Log.h"

CEGuiLogBridge::CEGuiLogBridge()
{
    setLoggingLevel(CEGUI::Standard);
}

void CEGuiLogBridge::logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level)
{
    if (level > getLoggingLevel())
        return;
    const std::string text = "GUI: " + std::string(message.c_str());
    switch (level) {
    case CEGUI::Errors: Log::Error(text); break;
    case CEGUI::Warnings: Log::Warning(text); break;
    default: Log::Debug(text); break;
    }
}

// The program's log has its own place; the system's file name is not used.
void CEGuiLogBridge::setLogFilename(const CEGUI::String&, bool)
{
}
