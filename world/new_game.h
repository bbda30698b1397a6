// Game phases (title and playing), the new-game reset that places the fifty
// figures, and the rule by which an enemy's touch kills the player's figure.
#pragma once

void NewGame();
void GameStateStep();
void CheckPlayerContact();
