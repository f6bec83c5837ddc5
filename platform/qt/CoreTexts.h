// The texts the core gives the user (its notices, its boxes' texts, window titles), translated by
// their identity into the user's language, their argument put in as it stands.
#pragma once

#include "core/text/CoreText.h"

#include <QString>

namespace kestrano {

class Message;

QString translatedText(const ShownText& text);
// The text a message shows: a notice of the core's translated, else text (the message's text made fit
// for Qt) as it is.
QString translatedRowText(const Message& message, const QString& text);

} // namespace kestrano
