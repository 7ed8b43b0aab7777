#include "tests/support/HeadlessGui.h"

#include "common/CEGuiCompat.h"
#include "common/CEGuiD3D9BaseApplication.h"
#include "common/CEGuiWindowProcTarget.h"
#include "common/CEGuiWindowProcedure.h"
#include "mainwnd/CQX_MainWnd.h"
#include "platform/FileSystem.h"
#include "platform/PlatformWindow.h"

#include <CEGUI/RendererModules/Null/Renderer.h>

#include <cstdlib>

namespace {

std::string DataDir()
{
    const char* build = std::getenv("QX_BUILD_DIR");
    return std::string(build ? build : "..") + "/datafiles/";
}

void SetResourceGroups()
{
    auto* resources =
        static_cast<CEGUI::DefaultResourceProvider*>(CEGUI::System::getSingleton().getResourceProvider());
    const std::string data = DataDir();
    resources->setResourceGroupDirectory("schemes", data + "schemes/");
    resources->setResourceGroupDirectory("imagesets", data + "imagesets/");
    resources->setResourceGroupDirectory("looknfeels", data + "looknfeel/");
    resources->setResourceGroupDirectory("layouts", data + "layouts/");
    resources->setResourceGroupDirectory("fonts", GetWindowsFontsDir());
}

}

void HeadlessGui::Start()
{
    if (CEGUI::System::getSingletonPtr())
        return;
    CEGUI::NullRenderer& renderer = CEGUI::NullRenderer::create();
    // Without a display size the cursor's constraint area is empty and
    // injected clicks never land.
    renderer.setDisplaySize(CEGUI::Sizef(1280, 800));
    CEGUI::System::setDefaultXMLParserName("TinyXMLParser");
    CEGUI::System::setDefaultImageCodecName("FreeImageImageCodec");
    CEGUI::System::create(renderer, nullptr, nullptr, nullptr, nullptr, "", "/dev/null");
    SetResourceGroups();
    CEGuiD3D9BaseApplication::SetDefaultResourceGroups();
    if (!CQX_MainWnd::CreateFonts())
        CEGUI_THROW(CEGUI::GenericException("no Chinese font for the headless GUI"));
    CEGUI::SchemeManager::getSingleton().createFromFile("Quobrix.scheme");
    Context().setDefaultFont("qx_font_normal");
}

CEGUI::GUIContext& HeadlessGui::Context()
{
    return CEGuiCompat::Context();
}

CEGUI::Window* HeadlessGui::LoadLayout(const std::string& file)
{
    Start();
    return CEGUI::WindowManager::getSingleton().loadLayoutFromFile(file);
}

CEGUI::Window* HeadlessGui::LoadMainLayout()
{
    CEGUI::Window* root = LoadLayout("Quobrix.layout");
    if (CEGUI::Window* old = Context().getRootWindow())
        CEGUI::WindowManager::getSingleton().destroyWindow(old);
    Context().setRootWindow(root);
    return root;
}

void HeadlessGui::Click(CEGUI::Window* window)
{
    const CEGUI::Rectf area = window->getUnclippedOuterRect().get();
    Context().injectMousePosition(area.left() + area.getWidth() / 2, area.top() + area.getHeight() / 2);
    Context().injectMouseButtonDown(CEGUI::LeftButton);
    Context().injectMouseButtonUp(CEGUI::LeftButton);
}

void HeadlessGui::Send(const WindowMessage& message)
{
    // Key and character messages never reach the window itself: one that was
    // never opened serves.
    static PlatformWindow window;
    static CEGuiWindowProcTarget target(window);
    static CEGuiWindowProcedure procedure(target);
    procedure.Handle(message);
}

void HeadlessGui::TypeText(const std::string& utf8)
{
    WindowMessage text;
    text.type = WindowMessage::Text;
    text.text = utf8;
    Send(text);
}

void HeadlessGui::PressKeys(std::initializer_list<int> virtualKeys, uint8_t character)
{
    WindowMessage key;
    key.type = WindowMessage::KeyDown;
    for (int virtualKey : virtualKeys) {
        key.virtualKey = virtualKey;
        Send(key);
    }
    if (character) {
        WindowMessage typed;
        typed.type = WindowMessage::Char;
        typed.charByte = character;
        Send(typed);
    }
    key.type = WindowMessage::KeyUp;
    for (auto it = std::rbegin(virtualKeys); it != std::rend(virtualKeys); ++it) {
        key.virtualKey = *it;
        Send(key);
    }
}

void HeadlessGui::ChooseListItem(CEGUI::Combobox* list, size_t index)
{
    Click(list->getEditbox());
    CEGUI::ComboDropList* dropList = list->getDropList();
    const CEGUI::ListboxItem* item = dropList->getListboxItemFromIndex(index);
    const CEGUI::Rectf area = dropList->getUnclippedOuterRect().get();
    const float x = area.left() + area.getWidth() / 2;
    for (float y = area.top(); y < area.bottom(); y += 1) {
        if (dropList->getItemAtPoint(CEGUI::Vector2f(x, y)) != item)
            continue;
        Context().injectMousePosition(x, y + 3);
        Context().injectMouseButtonDown(CEGUI::LeftButton);
        Context().injectMouseButtonUp(CEGUI::LeftButton);
        return;
    }
    CEGUI_THROW(CEGUI::InvalidRequestException("list entry not on screen"));
}

void HeadlessGui::PressKey(CEGUI::Key::Scan key)
{
    Context().injectKeyDown(key);
    Context().injectKeyUp(key);
}
