// The screens of the game and the two-second fades between them.
#ifndef ZIBO_GAME_STATE_H
#define ZIBO_GAME_STATE_H

enum GameState {
    TitleScreen = 0,
    TitleToPlay = 1,
    Playing = 2,
    PlayToStatistics = 3,
    Statistics = 4,
    StatisticsToPlay = 5,
    TitleToCredits = 6,
    StatisticsToCredits = 7,
    Credits = 8
};

#endif
