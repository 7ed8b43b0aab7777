#pragma once

// Windows virtual-key codes the input rules name.
enum VirtualKey
{
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_F1 = 112,
    VK_LSHIFT = 160,
    VK_RSHIFT = 161,
    VK_LCONTROL = 162,
    VK_RCONTROL = 163,
};
