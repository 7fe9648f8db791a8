#include "game/state.h"

GameState game;

void ResetGameState() {
    game = GameState{};
}
