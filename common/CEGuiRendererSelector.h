#pragma once

// Chooses the GUI renderer. Only the device renderer ("Direct3D 9", which
// names our OpenGL device) is built here, so
// the choice is made without asking the user; the types keep their classic
// numbers.
class CEGuiRendererSelector
{
public:
    enum RendererType
    {
        OgreGuiRendererType = 0,
        Direct3D81GuiRendererType = 1,
        Direct3D9GuiRendererType = 2,
        Direct3D10GuiRendererType = 3,
        OpenGLGuiRendererType = 4,
        IrrlichtGuiRendererType = 5,
        InvalidGuiRendererType = 8,
    };

    void SetRendererAvailability(RendererType type, bool available = true);
    // With renderers available, selects one (the first available) and returns
    // true; with none, returns false.
    bool InvokeDialog();
    RendererType GetSelectedRendererType() const { return m_lastSelected; }

private:
    static constexpr int kTypeCount = 7;
    RendererType m_lastSelected = InvalidGuiRendererType;
    bool m_available[kTypeCount] = {};
};
