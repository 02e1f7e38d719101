/* ADMNotifier.h - the notification an item notifier receives. */
#ifndef ZZ_ADM_NOTIFIER_H
#define ZZ_ADM_NOTIFIER_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1

typedef struct _ADMNotifier* ADMNotifierRef;

/* The notifier type an item sends when the user changes it, and that SendNotify sends by default. */
#define kADMUserChangedNotifier "ADM User Changed Notifier"

typedef struct ADMNotifierSuite {
    /* [dialog life] Returns non-zero when `notifier` is of type `notifierType`. */
    AIBoolean(SPAPI* IsNotifierType)(ADMNotifierRef notifier, const char* notifierType);
} ADMNotifierSuite;

ZZ_EXTERN_C_END

#endif
