// User-name text rules.
#include "dialup/UserNameText.h"

#include <cstring>

#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

bool EndsWithNoCase(const char* text, const char* tail) {
    const size_t textLength = strlen(text);
    const size_t tailLength = strlen(tail);
    // The user name is plain ASCII by the time it is joined, so the tail starts on a
    // character boundary.
    return tailLength != 0 && tailLength <= textLength &&
           EqualsNoCase(text + textLength - tailLength, tail);
}

}  // namespace

bool IsPlainUserName(const char* text) {
    if (text == nullptr) {
        return false;
    }
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x21 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

unsigned UserNameProblem(const char* text, const char* addedDomain) {
    if (text == nullptr || text[0] == '\0') {
        return IDS_NO_USER_NAME;
    }
    if (!IsPlainUserName(text)) {
        return IDS_USER_NAME_NOT_PLAIN;
    }
    // Plain ASCII by now, so the "@" is a character of its own.
    const char* at = strchr(text, '@');
    if (addedDomain != nullptr && addedDomain[0] != '\0' && at != nullptr &&
        (at == text || !EqualsNoCase(at, addedDomain))) {
        return IDS_USER_NAME_HAS_DOMAIN;
    }
    return 0;
}

bool JoinUserNameAndDomain(const char* userName, const char* domain, char* out, size_t size) {
    const char* name = userName != nullptr ? userName : "";
    const char* tail = domain != nullptr ? domain : "";
    if (CopyTextExact(out, size, name) &&
        (EndsWithNoCase(name, tail) || AppendTextExact(out, size, tail))) {
        return true;
    }
    if (size != 0) {
        out[0] = '\0';
    }
    return false;
}
