/* AIUndo.h - the undo context of the message being answered. */
#ifndef ZZ_AI_UNDO_H
#define ZZ_AI_UNDO_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 4

typedef struct AIUndoSuite {
    /* [tool message] Takes the document back to its state at the start of the current undo context (for a
       tool: the mouse-down of the current drag). Art made before the context began is never touched; handles
       of the art it removes become invalid. Returns 0, kNotNowErr (no context open). */
    SPErr(SPAPI* UndoChanges)(void);
} AIUndoSuite;

ZZ_EXTERN_C_END

#endif
