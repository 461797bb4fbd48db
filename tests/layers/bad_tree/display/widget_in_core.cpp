// A core display file that includes a widget header: the check must refuse it.
#include <QLineEdit>
