// The top-level keys of the game's state dump, in the order it writes them.
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::string> kStateTopKeys = {
    "frame",
    "m_bStageBanner",
    "m_bGameOver",
    "m_nStageCount",
    "m_nStage",
    "m_nScore",
    "m_nLives",
    "m_nBalls",
    "m_bMessage",
    "m_strMessage",
    "m_bIntro",
    "m_bAutoPaddle",
    "m_bRocketMode",
    "m_bPierceMode",
    "m_bGlueMode",
    "m_bMurkPaddles",
    "m_bWidePaddle",
    "m_nPaddleFrame",
    "m_nItemKeyDelay",
    "m_bMiniMap",
    "m_dwLastFrame",
    "m_dwFrameInterval",
    "s_nBannerOffset",
    "cells",
    "paddle",
    "rocket",
    "balls",
    "particles",
    "rng",
    "sounds",
};
