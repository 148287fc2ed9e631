#pragma once

#include <QStringList>

namespace tavix::cli {

// "encipher --key-text K --mask M TEXT": prints the stored form (Base64) of TEXT.
// "decipher --key-text K --mask M BASE64": prints the plain text of a stored constant.
// args start with the command's name. Exit code 0, or 2 with a message on bad input.
int runEncipher(const QStringList &args);
int runDecipher(const QStringList &args);

} // namespace tavix::cli
