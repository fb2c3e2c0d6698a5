#pragma once

#include <cstdint>
#include <optional>

#include <QStringView>

class QLineEdit;
class CPrompter;

// Dialog data exchange between integer members and edit boxes.
//
// Reading accepts a whole decimal number with optional blanks around it; signed members take an
// optional '+' or '-', unsigned ones only '+'. Anything else, an empty edit or a number outside
// the member's 32-bit range is a bad entry: the reader says "Please enter an integer." (signed)
// or "Please enter a positive integer." (unsigned), captioned with the application's display
// name, puts the focus back into the edit with its text selected, leaves the member as it was and
// returns false.

std::optional<std::int32_t> ParseInt32(QStringView text);
std::optional<std::uint32_t> ParseUInt32(QStringView text);

bool DdxReadInt(QLineEdit& edit, std::int32_t& value, CPrompter& prompter);
bool DdxReadUInt(QLineEdit& edit, std::uint32_t& value, CPrompter& prompter);

void DdxWriteInt(QLineEdit& edit, std::int32_t value);
void DdxWriteUInt(QLineEdit& edit, std::uint32_t value);
