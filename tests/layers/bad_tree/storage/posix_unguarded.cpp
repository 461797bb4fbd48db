// A core file that includes a POSIX header without a platform guard: the check must refuse it.
#include <QtGlobal>
#include <unistd.h>
