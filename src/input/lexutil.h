// Source reader and lexer.
#pragma once

// Reader position as seen by the message engine's pre-message hook.
struct LexState {
  const char *cur_file = nullptr;  // interned name of the current file; null before the symbol table exists
  long msg_line = 0;               // the line number reported in messages
};
