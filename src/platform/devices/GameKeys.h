// The keys the game reads, listed once: K(name, code) for each, with its DirectInput scan code. The
// game knows a key as DIK_<name>; input scripts write its name.
#pragma once

#define PLINKWELL_GAME_KEYS(K) \
    K(ESCAPE, 0x01)            \
    K(1, 0x02)                 \
    K(2, 0x03)                 \
    K(3, 0x04)                 \
    K(4, 0x05)                 \
    K(5, 0x06)                 \
    K(6, 0x07)                 \
    K(7, 0x08)                 \
    K(8, 0x09)                 \
    K(9, 0x0A)                 \
    K(0, 0x0B)                 \
    K(R, 0x13)                 \
    K(T, 0x14)                 \
    K(I, 0x17)                 \
    K(P, 0x19)                 \
    K(LCONTROL, 0x1D)          \
    K(A, 0x1E)                 \
    K(S, 0x1F)                 \
    K(B, 0x30)                 \
    K(M, 0x32)                 \
    K(SPACE, 0x39)             \
    K(PRIOR, 0xC9)
