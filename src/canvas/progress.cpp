#include "gamecanvas.h"
