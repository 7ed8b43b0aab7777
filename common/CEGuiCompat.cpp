#include "common/CEGuiCompat.h"

namespace {

bool EndsWithPath(CEGUI::Window* window, const std::string& classicName)
{
    std::string remaining = classicName;
    for (CEGUI::Window* w = window; w; w = w->getParent()) {
        const std::string name = w->getName().c_str();
        if (remaining == name)
            return true;
        const size_t tail = remaining.size() >= name.size() + 1 ? remaining.size() - name.size() - 1 : std::string::npos;
        if (tail == std::string::npos || remaining.compare(tail + 1, std::string::npos, name) != 0 ||
            remaining[tail] != '/')
            return false;
        remaining.resize(tail);
    }
    return false;
}

std::string LastComponent(const std::string& classicName)
{
    const size_t slash = classicName.rfind('/');
    return slash == std::string::npos ? classicName : classicName.substr(slash + 1);
}

CEGUI::Window* Search(CEGUI::Window* window, const std::string& leaf, const std::string& classicName)
{
    if (leaf == window->getName().c_str() && EndsWithPath(window, classicName))
        return window;
    for (size_t i = 0; i < window->getChildCount(); ++i)
        if (CEGUI::Window* found = Search(window->getChildAtIdx(i), leaf, classicName))
            return found;
    return nullptr;
}

}

std::string CEGuiCompat::ImageName(const std::string& classic)
{
    const std::string setTag = "set:";
    const std::string imageTag = " image:";
    if (classic.compare(0, setTag.size(), setTag) != 0)
        return classic;
    const size_t image = classic.find(imageTag);
    if (image == std::string::npos)
        return classic;
    return classic.substr(setTag.size(), image - setTag.size()) + "/" + classic.substr(image + imageTag.size());
}

std::string CEGuiCompat::PropertyName(const std::string& classic)
{
    if (classic == "UnifiedAreaRect")
        return "Area";
    if (classic == "Tooltip")
        return "TooltipText";
    return classic;
}

std::string CEGuiCompat::EventName(const std::string& classic)
{
    if (classic == "MouseLeave")
        return CEGUI::Window::EventMouseLeavesArea.c_str();
    if (classic == "MouseEnter")
        return CEGUI::Window::EventMouseEntersArea.c_str();
    return classic;
}

CEGUI::Window* CEGuiCompat::FindWindowBelow(CEGUI::Window* root, const std::string& classicName)
{
    if (!root)
        return nullptr;
    return Search(root, LastComponent(classicName), classicName);
}

CEGUI::Window* CEGuiCompat::FindWindow(const std::string& classicName)
{
    if (!CEGUI::System::getSingletonPtr())
        return nullptr;
    return FindWindowBelow(Context().getRootWindow(), classicName);
}

CEGUI::Window* CEGuiCompat::GetWindow(const std::string& classicName)
{
    CEGUI::Window* window = FindWindow(classicName);
    if (!window)
        CEGUI_THROW(CEGUI::UnknownObjectException("Window not found: " + CEGUI::String(classicName.c_str())));
    return window;
}

void CEGuiCompat::SetProperty(CEGUI::Window* window, const std::string& name, const std::string& value)
{
    const std::string property = PropertyName(name);
    const std::string translated = value.find("set:") != std::string::npos ? ImageName(value) : value;
    window->setProperty(property.c_str(), Utf8(translated));
}

CEGUI::String CEGuiCompat::Utf8(const std::string& text)
{
    return CEGUI::String(reinterpret_cast<const CEGUI::utf8*>(text.c_str()));
}

