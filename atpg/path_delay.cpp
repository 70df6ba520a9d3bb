#include "atpg/path_delay.h"

gate_liste_C selected_path_C;
