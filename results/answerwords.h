#pragma once

#include <QString>

struct Answer;

// What a screen reader is told of an answer, which it would not read from the status
// line: the status, and how many were found. A prompt speaks for itself.
QString AnswerWords(const Answer &answer);

// What it is told when a result was saved into the file `fileName`.
QString SavedWords(const QString &fileName);
