// The game record's state, described once: every field the state dumps show, in record order, under
// its own name. A visitor is shown the same field of each record it is given (one record to write
// or check it, two to copy from one to the other), so the dump, its copy and the checks cannot
// drift apart. The visitor provides:
//   Field(name, value...)        an integer field
//   Text(name, value...)         a string field
//   Cells(name, value...)        the block field (a kind per cell)
//   Object(name, withVelocity, value...)  the paddle (no velocity) and the rocket
//   Balls(name, value...)        the ball slots
//   Spray(name, value...)        the particle spray
#pragma once

template <typename Visitor, typename... Records>
void VisitRecord(Visitor& v, Records&... r) {
    v.Field("m_bStageBanner", r.m_bStageBanner...);
    v.Field("m_bGameOver", r.m_bGameOver...);
    v.Field("m_nStageCount", r.m_nStageCount...);
    v.Field("m_nStage", r.m_nStage...);
    v.Field("m_nScore", r.m_nScore...);
    v.Field("m_nLives", r.m_nLives...);
    v.Field("m_nBalls", r.m_nBalls...);
    v.Field("m_bMessage", r.m_bMessage...);
    v.Text("m_strMessage", r.m_strMessage...);
    v.Field("m_bIntro", r.m_bIntro...);
    v.Field("m_bAutoPaddle", r.m_bAutoPaddle...);
    v.Field("m_bRocketMode", r.m_bRocketMode...);
    v.Field("m_bPierceMode", r.m_bPierceMode...);
    v.Field("m_bGlueMode", r.m_bGlueMode...);
    v.Field("m_bMurkPaddles", r.m_bMurkPaddles...);
    v.Field("m_bWidePaddle", r.m_bWidePaddle...);
    v.Field("m_nPaddleFrame", r.m_nPaddleFrame...);
    v.Field("m_nItemKeyDelay", r.m_nItemKeyDelay...);
    v.Field("m_bMiniMap", r.m_bMiniMap...);
    v.Field("m_dwLastFrame", r.m_dwLastFrame...);
    v.Field("m_dwFrameInterval", r.m_dwFrameInterval...);
    v.Field("s_nBannerOffset", r.s_nBannerOffset...);
    v.Cells("cells", r.m_cells...);
    v.Object("paddle", false, r.m_paddle...);
    v.Object("rocket", true, r.m_rocket...);
    v.Balls("balls", r.m_balls...);
    v.Spray("particles", r.m_particles...);
}
