// What a typed user name may hold, and how the provider's domain joins it. Shared by the
// new-connection form and the migration's user-name fields.
#pragma once

#include <cstddef>

// True when every byte of `text` is printable ASCII other than the blank (0x21-0x7E). A
// blank, a control character or any double-byte character (full-width letters, kana) can
// never log in, since the provider's servers take plain ASCII names only.
bool IsPlainUserName(const char* text);

// What is wrong with a user name typed into a form or a change dialog, as the string id of
// its message: IDS_NO_USER_NAME when it is empty, IDS_USER_NAME_NOT_PLAIN when it is not
// plain, IDS_USER_NAME_HAS_DOMAIN when `addedDomain` (null or empty: none) is appended to it
// and it carries an "@" that does not start exactly that domain after a user part, since
// the result would hold two domains; 0 when it may be used.
unsigned UserNameProblem(const char* text, const char* addedDomain = nullptr);

// `userName` followed by `domain`, unless `userName` already ends with `domain` (letters
// A-Z compared without regard to case), as when a subscriber types the whole address from
// the provider's letter. False, with `out` empty, when the result does not fit `size` bytes.
bool JoinUserNameAndDomain(const char* userName, const char* domain, char* out, size_t size);
