#include "common/CEGuiWindowProcedure.h"
#include "common/WindowProcTarget.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/VirtualKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the window procedure injects, as "name(args)" strings.
class RecordingTarget : public WindowProcTarget
{
public:
    std::vector<std::string> calls;
    float cursorX = 0, cursorY = 0;
    float displayHeight = 800;
    bool hasSearchBox = true;
    float boxHeight = 24;

    void InjectMousePosition(float x, float y) override
    {
        cursorX = x;
        cursorY = y;
        Add("pos(" + N(x) + "," + N(y) + ")");
    }
    void InjectMouseLeaves() override { Add("leaves"); }
    void InjectMouseButtonDown(int b) override { Add("down(" + N(b) + ")"); }
    void InjectMouseButtonUp(int b) override { Add("up(" + N(b) + ")"); }
    void InjectMouseWheelChange(float d) override { Add("wheel(" + N(d) + ")"); }
    void InjectKeyDown(unsigned s) override { Add("keydown(" + N(s) + ")"); }
    void InjectKeyUp(unsigned s) override { Add("keyup(" + N(s) + ")"); }
    void InjectChar(uint32_t c) override { Add("char(" + N(c) + ")"); }
    float CursorRelativeY() const override { return cursorY / displayHeight; }
    float CursorX() const override { return cursorX; }
    float CursorConstraintBottom() const override { return displayHeight; }
    void ShowSystemCursor(bool show) override { Add(show ? "cursor(show)" : "cursor(hide)"); }
    bool SearchBoxRect(float& x, float& y, float& h) const override
    {
        x = 300.7f;
        y = 12.2f;
        h = boxHeight;
        return hasSearchBox;
    }
    void PlaceImeWindow(int x, int y) override { Add("ime(" + N(x) + "," + N(y) + ")"); }

private:
    template <typename T>
    static std::string N(T v)
    {
        const double d = static_cast<double>(v);
        return d == static_cast<long long>(d) ? std::to_string(static_cast<long long>(d)) : std::to_string(d);
    }
    void Add(const std::string& s) { calls.push_back(s); }
};

WindowMessage Key(WindowMessage::Type type, int vk)
{
    WindowMessage m;
    m.type = type;
    m.virtualKey = vk;
    return m;
}

WindowMessage CharByte(uint8_t b)
{
    WindowMessage m;
    m.type = WindowMessage::Char;
    m.charByte = b;
    return m;
}

WindowMessage Mouse(WindowMessage::Type type, int x = 0, int y = 0)
{
    WindowMessage m;
    m.type = type;
    m.x = x;
    m.y = y;
    return m;
}

using Calls = std::vector<std::string>;

}

TEST(WindowProcedure, ScanCodeTableMatchesTheGuiKeys)
{
    const std::pair<int, unsigned> table[] = {{VK_BACK, 14},   {VK_SPACE, 57},  {VK_PRIOR, 201}, {VK_NEXT, 209},
                                              {VK_LEFT, 203},  {VK_UP, 200},    {VK_RIGHT, 205}, {VK_DOWN, 208},
                                              {VK_INSERT, 210}, {VK_DELETE, 211}, {VK_LSHIFT, 42}, {VK_RSHIFT, 54},
                                              {VK_HOME, 199},  {VK_END, 207},  {VK_LCONTROL, 29}, {VK_RCONTROL, 157}};
    for (const auto& entry : table)
        EXPECT_EQ(CEGuiWindowProcedure::VirtualKeyToScanCode(entry.first), entry.second) << entry.first;
    EXPECT_EQ(CEGuiWindowProcedure::VirtualKeyToScanCode(VK_RETURN), 0u);
    EXPECT_EQ(CEGuiWindowProcedure::VirtualKeyToScanCode(VK_ESCAPE), 0u);
    EXPECT_EQ(CEGuiWindowProcedure::VirtualKeyToScanCode('A'), 0u);
}

TEST(WindowProcedure, KeyDownIsADownUpPairAndUnmappedKeysAreDropped)
{
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    proc.Handle(Key(WindowMessage::KeyDown, VK_NEXT));
    proc.Handle(Key(WindowMessage::KeyDown, VK_NEXT));
    proc.Handle(Key(WindowMessage::KeyUp, VK_NEXT));
    proc.Handle(Key(WindowMessage::KeyDown, VK_RETURN));
    proc.Handle(Key(WindowMessage::KeyUp, VK_RETURN));
    proc.Handle(CharByte(13));
    EXPECT_EQ(target.calls,
              (Calls{"keydown(209)", "keyup(209)", "keydown(209)", "keyup(209)", "keyup(209)", "char(13)"}));
}

TEST(WindowProcedure, ShiftAndControlStayDownUntilReleasedAndRepeatOnce)
{
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    proc.Handle(Key(WindowMessage::KeyDown, VK_LSHIFT));
    proc.Handle(Key(WindowMessage::KeyDown, VK_LSHIFT));
    proc.Handle(Key(WindowMessage::KeyDown, VK_HOME));
    proc.Handle(Key(WindowMessage::KeyUp, VK_HOME));
    proc.Handle(Key(WindowMessage::KeyUp, VK_LSHIFT));
    proc.Handle(Key(WindowMessage::KeyDown, VK_RCONTROL));
    proc.Handle(Key(WindowMessage::KeyUp, VK_RCONTROL));
    proc.Handle(Key(WindowMessage::KeyDown, VK_LSHIFT));
    EXPECT_EQ(target.calls, (Calls{"keydown(42)", "keydown(199)", "keyup(199)", "keyup(199)", "keyup(42)",
                                   "keydown(157)", "keyup(157)", "keydown(42)"}));
}

TEST(WindowProcedure, DoubleByteCharactersAreAssembled)
{
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    // "中" is D6 D0 in GBK.
    proc.Handle(CharByte(0xD6));
    EXPECT_TRUE(target.calls.empty());
    proc.Handle(CharByte(0xD0));
    // A lone lead byte followed by a plain byte gives only the plain byte.
    proc.Handle(CharByte(0xB0));
    proc.Handle(CharByte('a'));
    proc.Handle(CharByte(160));
    EXPECT_EQ(target.calls, (Calls{"char(20013)", "char(97)", "char(160)"}));
}

TEST(WindowProcedure, TypedTextArrivesAsCharacters)
{
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    WindowMessage text;
    text.type = WindowMessage::Text;
    text.text = "杭州a";
    proc.Handle(text);
    EXPECT_EQ(target.calls, (Calls{"char(26477)", "char(24030)", "char(97)"}));
}

TEST(WindowProcedure, MouseIsKeptOutOfTheBottomPercent)
{
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    proc.Handle(Mouse(WindowMessage::MouseMove, 100, 400));
    proc.Handle(Mouse(WindowMessage::MouseMove, 120, 799));
    EXPECT_EQ(target.calls, (Calls{"cursor(hide)", "pos(100,400)", "pos(120,799)", "pos(120,792)"}));
    EXPECT_TRUE(proc.IsMouseInWindow());
}

TEST(WindowProcedure, LeavingParksTheCursorBelowTheWindow)
{
    CQX_GlobalVariable::getInstance().SetClientHeight(800);
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    proc.Handle(Mouse(WindowMessage::MouseMove, 10, 10));
    target.calls.clear();
    proc.Handle(Mouse(WindowMessage::MouseLeave));
    EXPECT_EQ(target.calls, (Calls{"pos(0,860)", "leaves", "cursor(show)"}));
    target.calls.clear();
    proc.Handle(Mouse(WindowMessage::MouseLeave));
    EXPECT_EQ(target.calls, (Calls{"pos(0,860)", "leaves"}));
    CQX_GlobalVariable::getInstance().SetClientHeight(40);
}

TEST(WindowProcedure, ButtonsWheelImeAndQuit)
{
    RecordingTarget target;
    CEGuiWindowProcedure proc(target);
    WindowMessage m = Mouse(WindowMessage::ButtonDown);
    m.button = 1;
    proc.Handle(m);
    m.type = WindowMessage::MouseWheel;
    m.wheelDelta = -240;
    proc.Handle(m);
    proc.Handle(Mouse(WindowMessage::ImeComposition));
    target.boxHeight = 0;
    proc.Handle(Mouse(WindowMessage::ImeComposition));
    EXPECT_EQ(target.calls, (Calls{"down(1)", "wheel(-2)", "ime(300,36)"}));
    EXPECT_FALSE(proc.Handle(Mouse(WindowMessage::Destroy)));
    EXPECT_TRUE(proc.Handle(Mouse(WindowMessage::Size)));
}
