#include "app/SceneAssembly.h"

void assembleScene() {}
