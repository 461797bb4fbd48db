// POSIX headers under a platform guard, in either branch: the check must accept them.
#include <QtGlobal>
#ifdef Q_OS_WIN
#include <io.h>
#else
#if defined(SOME_FEATURE)
#include <cstdio>
#endif
#include <sys/stat.h>
#endif
