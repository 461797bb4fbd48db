// A record header that reaches up into the windows: the check must refuse it.
#pragma once

#include "shell/frmmain.h"
