#include "SubnetCalc.h"
