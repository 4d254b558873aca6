#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

CScriptedMessageBox::CScriptedMessageBox() : m_pPrevious(SetMessageBoxHandler(this)) {}

CScriptedMessageBox::~CScriptedMessageBox()
{
    SetMessageBoxHandler(m_pPrevious);
}

int CMessageBoxRecorder::Show(const std::string& strText, EMsgButtons eButtons)
{
    m_shown.push_back({strText, eButtons});
    if (eButtons == EMsgButtons::Ok)
        return DlgResult::Ok;
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << strText;
        return DlgResult::No;
    }
    const int nAnswer = m_answers.front();
    m_answers.pop_front();
    return nAnswer;
}

std::vector<std::string> CMessageBoxRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const SShownBox& box : m_shown)
        texts.push_back(box.strText);
    return texts;
}
