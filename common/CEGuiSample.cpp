#include "common/CEGuiSample.h"

#include "common/CEGuiD3D9BaseApplication.h"
#include "common/CEGuiRendererSelector.h"
#include "platform/MessageBox.h"

#include <CEGUI/CEGUI.h>

#include <stdexcept>

CEGuiSample::CEGuiSample() = default;

CEGuiSample::~CEGuiSample()
{
    DeleteApplication();
}

int CEGuiSample::Run()
{
    try {
        if (Initialise())
            Cleanup();
        return 0;
    } catch (const InitialisationFailure&) {
    } catch (const CEGUI::Exception& e) {
        MessageBox::Show(e.getMessage().c_str(), "CEGUI - Exception", MsgBoxButtons::Ok, MsgBoxIcon::Error);
    } catch (const std::exception& e) {
        MessageBox::Show(e.what(), "CEGUI - Exception", MsgBoxButtons::Ok, MsgBoxIcon::Error);
    } catch (...) {
    }
    return 1;
}

bool CEGuiSample::Initialise()
{
    m_rendererSelector = new CEGuiRendererSelector;
    m_rendererSelector->SetRendererAvailability(CEGuiRendererSelector::Direct3D9GuiRendererType);
    if (!m_rendererSelector->InvokeDialog() ||
        m_rendererSelector->GetSelectedRendererType() != CEGuiRendererSelector::Direct3D9GuiRendererType)
        CEGUI_THROW(CEGUI::GenericException("No renderer was selected!"));

    m_sampleApp = new CEGuiD3D9BaseApplication;
    m_sampleApp->SetDefaultResourceGroups();
    if (!m_sampleApp->Execute(this)) {
        DeleteApplication();
        return false;
    }
    return true;
}

void CEGuiSample::Cleanup()
{
    DeleteApplication();
}

void CEGuiSample::DeleteApplication()
{
    if (m_sampleApp) {
        m_sampleApp->Shutdown();
        delete m_sampleApp;
        m_sampleApp = nullptr;
    }
    delete m_rendererSelector;
    m_rendererSelector = nullptr;
}
