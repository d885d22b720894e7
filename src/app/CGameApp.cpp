#include "game/CGame.h"
