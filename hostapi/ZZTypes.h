/*
 * ZZTypes.h - fundamental types of the drawing host's plug-in interface.
 *
 * Every other interface header includes this one. All declarations are plain C and compile as C and as C++.
 *
 * When a call may be made. Every suite function below is tagged with one of these:
 *   [any message]   while the host is inside a call of the plug-in's PluginMain, whatever the message;
 *   [tool message]  only while an "AI Tool" message is being answered (the document and undo context of the
 *                   current drag exist then);
 *   [dialog life]   only between the start of a dialog's init procedure and the return of Modal for it.
 * A call made outside its time returns kNotNowErr where it returns a status.
 *
 * Strings are NUL-terminated, 8-bit, in the host's system code page (plain ASCII for every string the host
 * itself defines). Length-prefixed strings ("pascal strings") are one length byte followed by that many
 * characters and no terminator; their buffers hold 256 bytes.
 *
 * Changing a published struct. A suite's function table and a message record, once published under a name and
 * version, never change: no function or field is removed, reordered, retyped or given another meaning. A suite
 * that needs a change gets a new version number whose table may only append functions at the end of the old
 * one, and the host keeps offering every version it has published, each as a table of its own, so a module
 * built against an older header finds the table it was built for. A message record grows only at its end,
 * behind a new selector or caller, never under one a module already answers. The same declarations describe
 * the 32-bit and the 64-bit layout: no field's type depends on the target beyond pointers and handles.
 *
 * Ownership. Handles (art, items, entries, icons, ...) belong to the host. The plug-in never frees one; a
 * handle stays valid for as long as its object lives in the host (art until it is undone or its document
 * closes, dialog items until Modal returns).
 */
#ifndef ZZ_TYPES_H
#define ZZ_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define ZZ_EXTERN_C_BEGIN extern "C" {
#define ZZ_EXTERN_C_END }
#else
#define ZZ_EXTERN_C_BEGIN
#define ZZ_EXTERN_C_END
#endif

/* The one calling convention of every function that crosses the host/plug-in boundary. */
#if defined(_WIN32)
#define SPAPI __cdecl
#else
#define SPAPI
#endif

/* A check made by the compiler: static_assert in C++, _Static_assert in C11. Older C compilers check it with
   an array declaration whose size is negative when the condition fails (every passing check redeclares the
   same one-element array). */
#if defined(__cplusplus)
#define ZZ_STATIC_ASSERT(condition, message) static_assert(condition, message)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define ZZ_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#else
#define ZZ_STATIC_ASSERT(condition, message) extern int zzStaticAssertion[(condition) ? 1 : -1]
#endif

ZZ_EXTERN_C_BEGIN

/* ---- status codes
 * ------------------------------------------------------------------------------------------ */

/* A 32-bit host status; 0 is success. Four-character codes are the big-endian values of their characters. */
typedef int32_t SPErr;

#define ZZ_FOURCC(a, b, c, d)                                                                                \
    ((int32_t)(((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) |                             \
               ((uint32_t)(uint8_t)(c) << 8) | (uint32_t)(uint8_t)(d)))

#define kSPNoError 0
/* The user cancelled the command; never shown to the user. */
#define kSPUserCanceledError ZZ_FOURCC('S', 'T', 'O', 'P')
/* AcquireSuite: no suite of that name and version is offered. */
#define kSPSuiteNotFoundError ZZ_FOURCC('S', '!', 'F', 'd')
/* The host could not allocate memory. */
#define kSPOutOfMemoryError (-108)
/* An argument is null, out of range or of the wrong kind. */
#define kSPBadParameterError ZZ_FOURCC('P', 'R', 'M', '?')
/* The operation exists in the suite but this host does not offer it (yet). */
#define kSPUnimplementedError ZZ_FOURCC('!', 'I', 'M', 'P')
/* A handle names no live object (freed block, undone art, closed dialog). */
#define kSPBadHandleError ZZ_FOURCC('H', 'N', 'D', '?')
/* A call was made outside the time its tag allows. */
#define kNotNowErr ZZ_FOURCC('N', 'O', 'W', '?')
/* There is no current document. */
#define kNoDocumentErr ZZ_FOURCC('D', 'O', 'C', '?')
/* A resource of the requested type and number is not in the module. */
#define kResourceNotFoundErr ZZ_FOURCC('R', 'E', 'S', '?')
/* The art is of the wrong type for the operation (for example a path operation on a group). */
#define kBadArtTypeErr ZZ_FOURCC('A', 'R', 'T', '?')
/* A path would grow beyond the 32767 segments a 16-bit count can address. */
#define kTooManySegmentsErr ZZ_FOURCC('N', 'E', 'S', 'S')
/* The host failed inside the call for a reason of its own; nothing the call was to do can be relied on. */
#define kSPHostFailureError ZZ_FOURCC('H', 'S', 'T', '!')

/* ---- scalar and geometric types
 * ---------------------------------------------------------------------------- */

typedef float AIReal;      /* 32-bit IEEE float, the unit of every coordinate, angle and factor */
typedef uint8_t AIBoolean; /* 0 false, anything else true */
typedef uint8_t SPBoolean; /* as AIBoolean; the basic suite's type */

typedef struct AIRealPoint {
    AIReal h; /* horizontal, points, growing to the right */
    AIReal v; /* vertical, points, growing upwards */
} AIRealPoint;

/* An axis-aligned rectangle in document coordinates: top >= bottom since y grows upwards. */
typedef struct AIRealRect {
    AIReal left, top, right, bottom;
} AIRealRect;

/* An affine matrix: x' = a*x + c*y + tx, y' = b*x + d*y + ty. */
typedef struct AIRealMatrix {
    AIReal a, b, c, d, tx, ty;
} AIRealMatrix;

/* ---- opaque handles
 * ---------------------------------------------------------------------------------------- */

typedef struct _SPPlugin* SPPluginRef;        /* the host's reference to one plug-in */
typedef struct _SPAccess* SPAccessRef;        /* the host's access record of a loaded module */
typedef struct _AIArt* AIArtHandle;           /* one art object of the current document */
typedef struct _AITool* AIToolHandle;         /* one tool of the toolbox */
typedef struct _AIArtStyle* AIArtStyleHandle; /* one graphic style */
typedef struct _AISwatchList* AISwatchListRef;
typedef struct _AISwatch* AISwatchRef;
typedef struct _AISymbol* AIPatternHandle; /* a symbol definition */

/* ---- art
 * ----------------------------------------------------------------------------------------------------- */

/* Art types (AI Art Suite GetArtType, NewArt). */
enum {
    kUnknownArt = 0,
    kGroupArt = 1,
    kPathArt = 2,
    kCompoundPathArt = 3,
    kSymbolArt = 4,  /* an instance of a symbol definition */
    kEnvelopeArt = 5 /* art held by an envelope (warp) */
};

/* Paint orders: where new art goes in the layer's stacking order. */
enum {
    kPlaceAbove = 1, /* directly above the reference art */
    kPlaceBelow = 2, /* directly below the reference art */
    kPlaceInsideOnTop = 3,
    kPlaceInsideOnBottom = 4,
    kPlaceAboveAll = 5, /* above all art of the current layer; the reference art is ignored */
    kPlaceBelowAll = 6  /* below all art of the current layer; the reference art is ignored */
};

/* One segment of a path: anchor point, the handle on the incoming side, the handle on the outgoing side. A
   handle equal to its anchor makes a straight side. */
typedef struct AIPathSegment {
    AIRealPoint p;
    AIRealPoint in;
    AIRealPoint out;
    AIBoolean corner;
} AIPathSegment;

/* Path segments cross the suite boundary in arrays: 28 bytes each on every target. */
ZZ_STATIC_ASSERT(sizeof(AIRealPoint) == 8, "AIRealPoint is two 32-bit floats");
ZZ_STATIC_ASSERT(offsetof(AIPathSegment, p) == 0, "AIPathSegment.p");
ZZ_STATIC_ASSERT(offsetof(AIPathSegment, in) == 8, "AIPathSegment.in");
ZZ_STATIC_ASSERT(offsetof(AIPathSegment, out) == 16, "AIPathSegment.out");
ZZ_STATIC_ASSERT(offsetof(AIPathSegment, corner) == 24, "AIPathSegment.corner");
ZZ_STATIC_ASSERT(sizeof(AIPathSegment) == 28, "AIPathSegment size");

/* ---- colour and style
 * -------------------------------------------------------------------------------------- */

/* Colour kinds. Values of every kind run from 0 to 1. */
enum {
    kGrayColor = 0,   /* one value: 0 white, 1 black */
    kFourColor = 1,   /* cyan, magenta, yellow, black */
    kPattern = 2,     /* a pattern fill; no values the plug-in may change */
    kCustomColor = 3, /* a spot colour */
    kGradient = 4,
    kThreeColor = 5, /* red, green, blue */
    kNoneColor = 6
};

typedef struct AIColor {
    int16_t kind;    /* one of the kinds above */
    AIReal value[4]; /* gray: value[0]; four-colour: c, m, y, k; three-colour: r, g, b; other kinds: unused */
} AIColor;

typedef struct AIFillStyle {
    AIColor color;
} AIFillStyle;

typedef struct AIStrokeStyle {
    AIColor color;
    AIReal width; /* points */
    int32_t cap;  /* 0 butt, 1 round, 2 projecting */
    int32_t join; /* 0 miter, 1 round, 2 bevel */
    AIReal miterLimit;
} AIStrokeStyle;

/* The path style of one art object; read and written whole. */
typedef struct AIPathStyle {
    AIBoolean fillPaint; /* the fill is painted */
    AIFillStyle fill;
    AIBoolean strokePaint; /* the stroke is painted */
    AIStrokeStyle stroke;
    AIBoolean evenodd; /* fill rule */
} AIPathStyle;

/* Blending modes of the blend style suite: 0 normal to 15 luminosity. */
enum { kNormalBlendingMode = 0, kLastBlendingMode = 15 };

/* Transform flags (AI Transform Art Suite). */
enum {
    kTransformObjects = 1,
    kTransformFillGradients = 2,
    kTransformFillPatterns = 4,
    kTransformStrokePatterns = 8
};

/* Document colour models (AI Document Suite). */
enum { kDocGrayColor = 0, kDocRGBColor = 1, kDocCMYKColor = 2 };

ZZ_EXTERN_C_END

#endif /* ZZ_TYPES_H */
