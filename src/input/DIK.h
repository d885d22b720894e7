// DirectInput scan codes of the keys the game reads.
#pragma once

enum DikCode : int {
    DIK_ESCAPE = 0x01,
    DIK_1 = 0x02,
    DIK_2 = 0x03,
    DIK_3 = 0x04,
    DIK_4 = 0x05,
    DIK_5 = 0x06,
    DIK_6 = 0x07,
    DIK_7 = 0x08,
    DIK_8 = 0x09,
    DIK_9 = 0x0A,
    DIK_0 = 0x0B,
    DIK_R = 0x13,
    DIK_T = 0x14,
    DIK_I = 0x17,
    DIK_P = 0x19,
    DIK_LCONTROL = 0x1D,
    DIK_A = 0x1E,
    DIK_S = 0x1F,
    DIK_B = 0x30,
    DIK_M = 0x32,
    DIK_SPACE = 0x39,
    DIK_PRIOR = 0xC9,
};
