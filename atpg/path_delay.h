// Paths of the path-delay model.
#pragma once

#include "model/liste.h"

// The gates of the present path.
extern gate_liste_C selected_path_C;
