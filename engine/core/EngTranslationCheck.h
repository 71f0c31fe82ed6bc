// The translation check: compares the current language's texts with the
// English texts and writes what a translator must fix into the log as raw
// lines: English tokens missing from the translation or lacking sub-texts,
// translated tokens or sub-texts that English does not have, and duplicate
// tokens in either file (each listed once, with its count when it occurs
// more than twice). A sub-text starting with '^' counts as not
// translated. The current language is switched to English for the
// comparison and back afterwards; no text changes.
#pragma once

void EngLangCheckTranslation();
