// The screens' images: the engine splash, the slow-motion overlay, the HUD
// panel, the one-pixel image, and the headings, echo images and subtitle
// strip of the title, statistics and credits screens.
#ifndef ZIBO_TOOLS_SCREEN_ART_H
#define ZIBO_TOOLS_SCREEN_ART_H

#include "Image.h"

Image EngineSplash();       // 256 x 128, never drawn by the game
Image SlowMotionOverlay();  // 512 x 512, stretched over the whole 640 x 480 screen
Image HudPanel();           // 128 x 64, drawn at (10, 10) at half strength
Image WhitePixel();         // 1 x 1
Image TitleHeading();       // "Z.I.B.O.", 256 x 64
Image TitleEcho();          // 256 x 64
Image TitleSubtitle();      // 256 x 16
Image StatisticsHeading();  // 512 x 64, drawn tinted red
Image StatisticsEcho();     // 512 x 64, drawn tinted (1, 0.5, 0.5)
Image CreditsHeading();     // 512 x 64
Image CreditsEcho();        // 512 x 64

#endif
