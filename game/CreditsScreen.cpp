// The credits roll: pages of three lines fading in and out; the program ends
// after the last page or as soon as ESC is held.
#include "Game.h"

#include "Controls.h"
#include "ScreenLayout.h"
#include "ShadowedText.h"

namespace {
const float kPageTimerTop = 2.0f;   // the rising clock turns here...
const float kPageTimerFall = 2.5f;  // ...and falls from here
const int32_t kEndPage = 18;        // reached after the last page, page 17
const int kLinesPerPage = 3;
const int32_t kLineY[kLinesPerPage] = {-30, -10, 10};  // offsets from the screen's centre

struct CreditLine {
    const char* text;  // null: no line
    int32_t dx;        // offset of its x from the screen's centre
    TextColour colour;
};
struct CreditPage {
    CreditLine lines[kLinesPerPage];
};

const CreditLine kNoLine = {nullptr, 0, kWhiteText};

// Pages 1 to 17; the names and addresses are our own project's, on reserved
// example domains.
const CreditPage kPages[17] = {
    {{{"Programming and Graphics by", -105, kWhiteText},
      {"The Zibo Crew", -57, kWhiteText},
      {"...and lots of Pepsi...", -73, kWhiteText}}},
    {{{"Built using Cindermill by", -108, kWhiteText},
      {"Cinder Works", -49, kWhiteText},
      {"cindermill.example.org", -78, kWhiteText}}},
    {{{"Music and Sound by", -69, kWhiteText},
      {"Zibo Audio", -38, kWhiteText},
      {"sound.zibonauts.example.org", -101, kWhiteText}}},
    {{{"Additional Graphics by", -80, kWhiteText},
      {"Pixel Yard", -41, kWhiteText},
      {"pixelyard.zibonauts.example.org", -105, kWhiteText}}},
    {{{"In Association with", -67, kWhiteText},
      {"Zibo Studio", -40, kWhiteText},
      {"...it doesn't exist...", -66, kWhiteText}}},
    {{{"Special Thanks to", -60, kWhiteText},
      {"All of my friends and family", -95, kWhiteText},
      {"and the Example Dev Forum", -64, kWhiteText}}},
    {{{"www.zibonauts.example.org", -98, kWhiteText},
      {"forum.gamedev.example.org", -101, kWhiteText},
      {"downloads.zibonauts.example.net/zibo", -146, kWhiteText}}},
    {{{"THANK YOU FOR PLAYING", -91, kWhiteText},
      {"I HOPE YOU ENJOYED IT", -87, kWhiteText},
      {"...or else...", -39, kRedText}}},
    {{{"No kittens were harmed", -85, kWhiteText},
      {"in the making of this game", -91, kWhiteText},
      {"...I don't think so, anyway...", -97, kWhiteText}}},
    {{kNoLine, kNoLine, kNoLine}},
    {{{"The name of the game is ZIBO", -108, kWhiteText},
      {"Zibonauts", -89, kWhiteText},
      {"but... where is the team?", -90, kWhiteText}}},
    {{{"I was originally going to", -82, kWhiteText},
      {"add two AI controlled allies", -97, kWhiteText},
      {"but I scrapped that idea", -84, kWhiteText}}},
    {{{"So remember this...", -69, kWhiteText},
      {"There may not be an 'I' in \"team\"", -114, kWhiteText},
      {"but there is an 'M' and an 'E'!", -100, kWhiteText}}},
    {{kNoLine, kNoLine, kNoLine}},
    {{kNoLine, kNoLine, kNoLine}},
    {{{"Try holding SHIFT", -63, kWhiteText},
      {"while clicking the RIGHT mouse button", -136, kWhiteText},
      {"on the                text in the HUD", -107, kWhiteText}}},
    {{kNoLine, kNoLine, kNoLine}},
};

// Page 16 names the hidden cat-mode spot in blue, in the gap of its third
// line and one pixel lower.
const int32_t kStatusPage = 16;
const char* const kStatusWord = "STATUS";
const int32_t kStatusDx = -56;
const int32_t kStatusDy = 11;
const TextColour kStatusColour = {0, 128, 255};
}  // namespace

bool Game::creditsFrame() {
    pollScreenEvents();
    if (held(kBack)) {
        quit = true;
    }
    drawHeading(creditsEchoes,
                {creditsSprites[0], creditsSprites[1], kWideHeadingWidth, kUntinted, kUntinted});
    drawBand();
    advancePageClock();
    drawCreditsPage();
    drawPrompt(QuitPrompt);
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
    ShadowedText texts[kLinesPerPage + 1];  // and the STATUS word
    size_t count = 0;
    for (int i = 0; i < kLinesPerPage; ++i) {
        const CreditLine& line = page.lines[i];
        if (line.text != nullptr) {
            texts[count++] = {line.text, W / 2 + line.dx, H / 2 + kLineY[i], line.colour};
        }
    }
    if (creditsPage == kStatusPage) {
        texts[count++] = {kStatusWord, W / 2 + kStatusDx, H / 2 + kStatusDy, kStatusColour};
    }
    DrawShadowedTexts(font, texts, count, alpha);
}
