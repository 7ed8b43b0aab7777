#pragma once
#include <CEGUI/Logger.h>

// The GUI library's log inside the program's own: errors and warnings as
// such, its ordinary lines as Debug lines (seen with --verbose), nothing more
// detailed. Made before the GUI system so the system uses it and writes no
// log file of its own.
class CEGuiLogBridge : public CEGUI::Logger
{
public:
    CEGuiLogBridge();

    void logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level) override;
    void setLogFilename(const CEGUI::String& filename, bool append) override;
};
