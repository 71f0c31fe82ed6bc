// Memory and text functions used in place of the standard library's.
// Each reports its own failure (under the caller's name given as where) and
// returns its failure value.
#pragma once

void *EngMalloc(unsigned size, const char *where, char zero);
// On failure the old block stays valid.
void *EngRealloc(void *old, unsigned size, const char *where);
void EngFree(void *p, char complain_if_null, const char *where);
char *EngMallocStringFromString(const char *src, char complain, const char *where);
void EngZeroMemory(void *p, unsigned size);

// Copies at most size - 1 characters and always terminates within size.
char *EngSafeStrcpy(char *dst, const char *src, unsigned size);
// First occurrence of find in text; with whole_word only a match followed by
// the end of the text or a word end counts.
char *EngStrStr(char *text, const char *find, char whole_word);
char *EngStrIStr(char *text, const char *find, char whole_word);
char EngStrIsWordEnd(char c);
const char *EngStrOrNone(const char *text);
// The four characters of a code such as 'MAIN', in a buffer the next call overwrites.
const char *EngCodeToString(int code);
