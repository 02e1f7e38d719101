#include "plugin/shell/ErrorReport.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/suites/PluginSuites.h"

namespace {

// Code texts are fetched with one character less room than messages.
constexpr int32_t kCodeTextLength = 255;
constexpr int32_t kMessageTextLength = 256;

struct ErrorTexts {
    const char* message;
    const char* code;
};

// Copies a C string into a length-prefixed buffer of 256 bytes, cutting it at 255 characters.
void toPascalString(const char* text, unsigned char* pascal) {
    size_t length = std::strlen(text);
    if (length > 255) length = 255;
    pascal[0] = static_cast<unsigned char>(length);
    std::memcpy(pascal + 1, text, length);
}

// Copies a length-prefixed string into a C string buffer of 256 bytes.
void fromPascalString(const unsigned char* pascal, char* text) {
    size_t length = pascal[0];
    std::memcpy(text, pascal + 1, length);
    text[length] = '\0';
}

// The error value an entry of the error list stands for. A decimal text is read by the host, truncated toward
// zero and cut to a sign-extended 16-bit value; any other text is the four-character code of its first four
// characters. False when the text is a number the host cannot read.
bool codeTextValue(const char* text, SPErr* value) {
    if (text[0] == '-' || (text[0] >= '0' && text[0] <= '9')) {
        if (sAIUser == nullptr) return false;
        unsigned char pascal[256];
        toPascalString(text, pascal);
        AIReal number = 0.0f;
        if (sAIUser->TextToNumber(pascal, &number) != kSPNoError) return false;
        AIReal whole = std::trunc(number);
        if (!(whole >= -2147483648.0f && whole < 2147483648.0f)) return false;
        *value = static_cast<int16_t>(static_cast<int32_t>(whole));
        return true;
    }
    char characters[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && text[i] != '\0'; ++i)
        characters[i] = text[i];
    *value = ZZ_FOURCC(characters[0], characters[1], characters[2], characters[3]);
    return true;
}

// The list index of the message for `error`: the entry after its code text, or the entry before the first
// empty one when the list does not hold the code. 0 when the list has no entries, or when an entry cannot be
// read before the code is found: where the list ends is then unknown, and the entry before the unreadable one
// is the message of another code.
int32_t messageIndexFor(SPPluginRef self, SPErr error) {
    // A string table holds at most 65536 strings; a list that never ends is read as far as that.
    constexpr int32_t kLastListIndex = 65535;
    for (int32_t index = 1; index <= kLastListIndex; index += 2) {
        char codeText[kCodeTextLength + 1];
        codeText[0] = '\0';
        if (sADMBasic->GetIndexString(self, kErrorStringList, index, codeText, kCodeTextLength) != kSPNoError)
            return 0;
        if (codeText[0] == '\0') return index - 1;
        SPErr value = 0;
        if (codeTextValue(codeText, &value) && value == error) return index + 1;
    }
    return 0;
}

// The code as the dialog shows it: a signed decimal number when it fits in 16 bits, else its four characters.
void formatErrorCode(SPErr error, char* text) {
    uint32_t upper = static_cast<uint32_t>(error) >> 16;
    if (upper == 0 || upper == 0xFFFF) {
        unsigned char pascal[256];
        if (sAIUser != nullptr && sAIUser->NumberToText(static_cast<AIReal>(error), 0, pascal) == kSPNoError)
            fromPascalString(pascal, text);
        else
            std::snprintf(text, 256, "%d", static_cast<int>(error));
        return;
    }
    uint32_t code = static_cast<uint32_t>(error);
    text[0] = static_cast<char>(code >> 24);
    text[1] = static_cast<char>(code >> 16);
    text[2] = static_cast<char>(code >> 8);
    text[3] = static_cast<char>(code);
    text[4] = '\0';
}

void setItemText(ADMDialogRef dialog, int32_t itemID, const char* text) {
    ADMItemRef item = sADMDialog->GetItem(dialog, itemID);
    if (item != nullptr) sADMItem->SetText(item, text);
}

void giveOkDefaultNotify(ADMDialogRef dialog) {
    ADMItemRef ok = sADMDialog->GetItem(dialog, kADMDefaultItemID);
    if (ok != nullptr) sADMItem->SetNotifyProc(ok, defaultOnlyNotify);
}

SPErr SPAPI initErrorDialog(ADMDialogRef dialog) {
    if (sADMItem == nullptr) return kSPNoError;
    const ErrorTexts* texts = static_cast<const ErrorTexts*>(sADMDialog->GetUserData(dialog));
    giveOkDefaultNotify(dialog);
    if (texts == nullptr) return kSPNoError;
    setItemText(dialog, kErrorMessageItemID, texts->message);
    setItemText(dialog, kErrorCodeItemID, texts->code);
    return kSPNoError;
}

SPErr SPAPI initAboutBox(ADMDialogRef dialog) {
    if (sADMItem != nullptr) giveOkDefaultNotify(dialog);
    return kSPNoError;
}

} // namespace

void SPAPI defaultOnlyNotify(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
}

void reportError(const SPMessageData* message, SPErr error) {
    if (error == kSPNoError || error == kSPUserCanceledError) return;
    if (sADMBasic == nullptr || sADMDialog == nullptr) return;

    int32_t messageIndex = messageIndexFor(message->self, error);
    if (messageIndex < 1) return;
    char messageText[kMessageTextLength];
    if (sADMBasic->GetIndexString(message->self, kErrorStringList, messageIndex, messageText,
                                  kMessageTextLength) != kSPNoError)
        return;

    char codeText[256];
    formatErrorCode(error, codeText);

    ErrorTexts texts = {messageText, codeText};
    sADMDialog->Modal(message->self, "Error Dialog", kErrorDialogID, kADMModalDialogStyle, initErrorDialog,
                      &texts, 0);
}

SPErr showAboutBox(const SPMessageData* message) {
    if (sADMDialog == nullptr) return kSPNoError;
    sADMDialog->Modal(message->self, "About Dialog", kAboutDialogID, kADMModalDialogStyle, initAboutBox,
                      nullptr, 0);
    return kSPNoError;
}
