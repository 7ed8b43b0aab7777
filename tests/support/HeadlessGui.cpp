#include "tests/support/HeadlessGui.h"

#include "common/CEGuiCompat.h"
#include "common/CEGuiD3D9BaseApplication.h"
#include "mainwnd/CQX_MainWnd.h"
#include "platform/FileSystem.h"

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

void HeadlessGui::TypeText(const std::string& utf8)
{
    const CEGUI::String text = CEGuiCompat::Utf8(utf8);
    for (size_t i = 0; i < text.length(); ++i)
        Context().injectChar(text[i]);
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
