/* ADMIcon.h - icons from a module's resources. */
#ifndef ZZ_ADM_ICON_H
#define ZZ_ADM_ICON_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

typedef struct _ADMIcon* ADMIconRef;

/* Icon types. */
enum {
    kCicn = 0,
    kSICN = 1,
    kIconSuite = 2,
    kWinIcon = 3,
    kBMP = 4,
    kPNGIcon = 5,
    kUnknownIcon = 6 /* no usable picture was found */
};

typedef struct ADMIconSuite {
    /* [any message] Loads icon number `iconID` (entry `iconIndex`) from the resources of `plugin`'s module.
       Returns the icon, owned by the host for the host's lifetime; an icon that is not found comes back with
       the type kUnknownIcon rather than as null. */
    ADMIconRef(SPAPI* GetFromResource)(SPPluginRef plugin, int32_t iconID, int32_t iconIndex);
    /* [any message] Returns the type of `icon` (kUnknownIcon for null). */
    int32_t(SPAPI* GetType)(ADMIconRef icon);
} ADMIconSuite;

ZZ_EXTERN_C_END

#endif
