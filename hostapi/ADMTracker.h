/* ADMTracker.h - the mouse and keyboard state of the event being answered. */
#ifndef ZZ_ADM_TRACKER_H
#define ZZ_ADM_TRACKER_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1

typedef struct _ADMTracker* ADMTrackerRef;

/* Modifier bits of GetModifiers. Which keys set them is the host's business. */
enum {
    kADMShiftKeyModifier = 0x20, /* steps the element count, or with kADMOptionKeyModifier the designs */
    kADMOptionKeyModifier = 0x40,
    kADMControlKeyModifier = 0x200
};

typedef struct ADMTrackerSuite {
    /* [tool message] Stores the cursor point of `tracker`'s event (null: the current event) in *point. */
    void(SPAPI* GetPoint)(ADMTrackerRef tracker, AIRealPoint* point);
    /* [tool message] Returns non-zero when the mouse button is down in `tracker`'s event. */
    AIBoolean(SPAPI* IsMouseDown)(ADMTrackerRef tracker);
    /* [tool message] Returns the modifier word of `tracker`'s event (null: the current event). */
    uint32_t(SPAPI* GetModifiers)(ADMTrackerRef tracker);
} ADMTrackerSuite;

ZZ_EXTERN_C_END

#endif
