#include "base/player.h"

namespace spinox {

namespace {

Player* gPlayer = nullptr;

}  // namespace

Player* CurrentPlayer() {
  return gPlayer;
}
void SetCurrentPlayer(Player* player) {
  gPlayer = player;
}

}  // namespace spinox
