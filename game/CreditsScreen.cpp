// The credits roll: pages of three lines fading in and out; the program ends
// after the last page or as soon as ESC is held.
#include "Game.h"

#include "OruBitmapFont.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const int32_t kHeadingY = 10;
const int32_t kHeadingWidth = 512;
const int32_t kHeadingHeight = 64;
const float kPageTimerTop = 2.0f;     // the rising clock turns here...
const float kPageTimerFall = 2.5f;    // ...and falls from here
const int32_t kEndPage = 18;          // reached after the last page, page 17
const int32_t kLineY[3] = {-30, -10, 10};  // offsets from the screen's centre

struct CreditLine {
    const char* text;  // null: no line
    int32_t dx;        // offset of its x from the screen's centre
    uint8_t red, green, blue;
};
struct CreditPage {
    CreditLine lines[3];
};

const CreditLine kNoLine = {nullptr, 0, 255, 255, 255};

// Pages 1 to 17; the names and addresses are our own project's, on reserved
// example domains.
const CreditPage kPages[17] = {
    {{{"Programming and Graphics by", -105, 255, 255, 255},
      {"The Zibo Crew", -57, 255, 255, 255},
      {"...and lots of Pepsi...", -73, 255, 255, 255}}},
    {{{"Built using Cindermill by", -108, 255, 255, 255},
      {"Cinder Works", -49, 255, 255, 255},
      {"cindermill.example.org", -78, 255, 255, 255}}},
    {{{"Music and Sound by", -69, 255, 255, 255},
      {"Zibo Audio", -38, 255, 255, 255},
      {"sound.zibonauts.example.org", -101, 255, 255, 255}}},
    {{{"Additional Graphics by", -80, 255, 255, 255},
      {"Pixel Yard", -41, 255, 255, 255},
      {"pixelyard.zibonauts.example.org", -105, 255, 255, 255}}},
    {{{"In Association with", -67, 255, 255, 255},
      {"Zibo Studio", -40, 255, 255, 255},
      {"...it doesn't exist...", -66, 255, 255, 255}}},
    {{{"Special Thanks to", -60, 255, 255, 255},
      {"All of my friends and family", -95, 255, 255, 255},
      {"and the Example Dev Forum", -64, 255, 255, 255}}},
    {{{"www.zibonauts.example.org", -98, 255, 255, 255},
      {"forum.gamedev.example.org", -101, 255, 255, 255},
      {"downloads.zibonauts.example.net/zibo", -146, 255, 255, 255}}},
    {{{"THANK YOU FOR PLAYING", -91, 255, 255, 255},
      {"I HOPE YOU ENJOYED IT", -87, 255, 255, 255},
      {"...or else...", -39, 255, 0, 0}}},
    {{{"No kittens were harmed", -85, 255, 255, 255},
      {"in the making of this game", -91, 255, 255, 255},
      {"...I don't think so, anyway...", -97, 255, 255, 255}}},
    {{kNoLine, kNoLine, kNoLine}},
    {{{"The name of the game is ZIBO", -108, 255, 255, 255},
      {"Zibonauts", -89, 255, 255, 255},
      {"but... where is the team?", -90, 255, 255, 255}}},
    {{{"I was originally going to", -82, 255, 255, 255},
      {"add two AI controlled allies", -97, 255, 255, 255},
      {"but I scrapped that idea", -84, 255, 255, 255}}},
    {{{"So remember this...", -69, 255, 255, 255},
      {"There may not be an 'I' in \"team\"", -114, 255, 255, 255},
      {"but there is an 'M' and an 'E'!", -100, 255, 255, 255}}},
    {{kNoLine, kNoLine, kNoLine}},
    {{kNoLine, kNoLine, kNoLine}},
    {{{"Try holding SHIFT", -63, 255, 255, 255},
      {"while clicking the RIGHT mouse button", -136, 255, 255, 255},
      {"on the                text in the HUD", -107, 255, 255, 255}}},
    {{kNoLine, kNoLine, kNoLine}},
};

// Page 16 names the hidden cat-mode spot in blue, in the gap of its third
// line and one pixel lower.
const int32_t kStatusPage = 16;
const char* const kStatusWord = "STATUS";
const int32_t kStatusDx = -56;
const int32_t kStatusDy = 11;
}  // namespace

bool Game::creditsFrame() {
    const int32_t W = screenWidth;
    const int32_t H = screenHeight;
    const int32_t headingX = W / 2 - kHeadingWidth / 2;
    creditsEchoes.startOnce(static_cast<float>(headingX));
    pollScreenEvents();
    if (KeyHeld(SDLK_ESCAPE)) {
        quit = true;
    }
    const EchoLook look = {creditsSprites[1], kHeadingWidth, kHeadingHeight,
                           static_cast<float>(headingX), 1.0f, 1.0f, 1.0f};
    creditsEchoes.run(sprites, look, fadeAlpha, frameTime);

    glColor4f(1, 1, 1, fadeAlpha);
    sprites->DrawSprite(creditsSprites[0], headingX, kHeadingY, kHeadingWidth, kHeadingHeight);
    drawBand();
    advancePageClock();
    drawCreditsPage();

    font->SetColor(0, 0, 0);
    font->DrawText("Press ESC to quit", W / 2 - 58, H - 21, fadeAlpha);
    font->SetColor(255, 0, 0);
    font->DrawText("Press ESC to quit", W / 2 - 59, H - 22, fadeAlpha);
    return quit;
}

void Game::advancePageClock() {
    pageTimer = pageRising ? pageTimer + frameTime : pageTimer - frameTime;
    if (pageRising && pageTimer >= kPageTimerTop) {
        pageRising = false;
        pageTimer = kPageTimerFall;
    } else if (!pageRising && pageTimer <= 0.0f) {
        creditsPage += 1;
        pageRising = true;
        pageTimer = 0.0f;
        if (creditsPage == kEndPage) {
            quit = true;
        }
    }
}

void Game::drawCreditsPage() {
    if (creditsPage < 1 || creditsPage >= kEndPage) {
        return;
    }
    const CreditPage& page = kPages[creditsPage - 1];
    const int32_t W = screenWidth;
    const int32_t H = screenHeight;
    // Alpha above 1 draws opaque: a page stands at full strength while its
    // clock runs from 1 up to 2 and back down from 2.5 to 1.
    const float alpha = pageTimer * fadeAlpha;
    const bool statusPage = creditsPage == kStatusPage;

    font->SetColor(0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        if (page.lines[i].text != nullptr) {
            font->DrawText(page.lines[i].text, W / 2 + page.lines[i].dx + 1, H / 2 + kLineY[i] + 1,
                           alpha);
        }
    }
    if (statusPage) {
        font->DrawText(kStatusWord, W / 2 + kStatusDx + 1, H / 2 + kStatusDy + 1, alpha);
    }
    for (int i = 0; i < 3; ++i) {
        const CreditLine& line = page.lines[i];
        if (line.text != nullptr) {
            font->SetColor(line.red, line.green, line.blue);
            font->DrawText(line.text, W / 2 + line.dx, H / 2 + kLineY[i], alpha);
        }
    }
    if (statusPage) {
        font->SetColor(0, 128, 255);
        font->DrawText(kStatusWord, W / 2 + kStatusDx, H / 2 + kStatusDy, alpha);
    }
}
