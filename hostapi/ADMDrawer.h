/* ADMDrawer.h - drawing into items. Offered so that a plug-in may acquire the suite; this host does not
   implement its operations yet: each does nothing. */
#ifndef ZZ_ADM_DRAWER_H
#define ZZ_ADM_DRAWER_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kADMDrawerSuite "ADM Drawer Suite"
#define kADMDrawerSuiteVersion 3

typedef struct _ADMDrawer* ADMDrawerRef;

typedef struct ADMDrawerSuite {
    /* [dialog life] Draws a line in the drawer's current colour. */
    void(SPAPI* DrawLine)(ADMDrawerRef drawer, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
} ADMDrawerSuite;

ZZ_EXTERN_C_END

#endif
