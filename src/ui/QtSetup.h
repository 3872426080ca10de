#pragma once
// Qt's keyword macro "emit" would erase the member of that name of the control model's
// signals. Every file of the Qt layer includes this header before any other, so the macro is
// never defined (or, when a Qt header came first, is removed again) before the model's headers.
#ifndef QT_NO_EMIT
#define QT_NO_EMIT
#endif
#ifdef emit
#undef emit
#endif
