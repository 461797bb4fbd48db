// A helper that reaches for the main window instead of the session.
#pragma once

#include "shell/main/frmmain.h"
