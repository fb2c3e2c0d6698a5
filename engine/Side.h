#pragma once

// Side codes shared by results and advice. Pause is used only in advice.
enum : int {
    SIDE_NONE = 0,
    SIDE_BANKER = 1,
    SIDE_PLAYER = 2,
    SIDE_TIE = 3,
    SIDE_PAUSE = 4,
};

// Replay letter of a result side ('Z', 'X', 'H'), or '\0' for anything else.
constexpr char ReplayLetter(int side) {
    switch (side) {
        case SIDE_BANKER:
            return 'Z';
        case SIDE_PLAYER:
            return 'X';
        case SIDE_TIE:
            return 'H';
        default:
            return '\0';
    }
}

// Result side of a replay letter ('Z'/'X'/'H'), or SIDE_NONE for any other character.
constexpr int SideOfReplayLetter(char letter) {
    switch (letter) {
        case 'Z':
            return SIDE_BANKER;
        case 'X':
            return SIDE_PLAYER;
        case 'H':
            return SIDE_TIE;
        default:
            return SIDE_NONE;
    }
}
