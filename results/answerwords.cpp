#include "answerwords.h"

#include "search.h"

QString AnswerWords(const Answer &answer)
{
    const auto found = answer.found.size();
    if (found == 0)
        return answer.status;
    if (answer.query.kind == Query::Kind::WholeDirectory)
        return QStringLiteral("%1, %2").arg(answer.status).arg(found);
    return QStringLiteral("%1, найдено %2").arg(answer.status).arg(found);
}

QString SavedWords(const QString &fileName)
{
    return QStringLiteral("Сохранено в файл %1").arg(fileName);
}
