// GLFW key tokens to the application's key codes (Windows virtual-key numbering),
// and the character a key-down also types.
#pragma once

// 0 for keys the application does not see.
int TransKey(int glfwKey);
// 8, 9, 13, 27 type themselves; navigation keys type their code | 0x10000; delete types
// 127; every other key types nothing (0).
int KeyToChar(int keyCode);
