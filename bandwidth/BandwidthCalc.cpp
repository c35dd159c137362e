#include "BandwidthCalc.h"
