#include "Random.h"
