#pragma once

#include "InfoList.h"

#include <QList>
#include <QStringList>

// The findings list answering from a script while it lives.
struct ScriptedInfoList : InfoList::Service
{
    ScriptedInfoList() { InfoList::setService(this); }
    ~ScriptedInfoList() override { InfoList::setService(nullptr); }
    ScriptedInfoList(const ScriptedInfoList &) = delete;
    ScriptedInfoList &operator=(const ScriptedInfoList &) = delete;

    bool ask(const QStringList &lines) override
    {
        asked.append(lines);
        return answer;
    }
    void show(const QStringList &lines) override { shown.append(lines); }

    QList<QStringList> asked;
    QList<QStringList> shown;
    bool answer = false;
};
