#pragma once
// Test doubles of the message box: CMessageBoxRecorder records every box
// shown and answers questions from a script; CScriptedMessageBox also
// installs itself as the process-wide handler for its lifetime.

#include "text/MessageBox.h"

#include <deque>
#include <string>
#include <vector>

struct SShownBox {
    std::string strText;
    EMsgButtons eButtons;
};

class CMessageBoxRecorder : public CMessageBoxHandler {
public:
    /// Queues the answer to the next question (DlgResult::Yes or DlgResult::No). OK boxes take
    /// no answer from the queue.
    void Answer(int nButton) { m_answers.push_back(nButton); }

    int Show(const std::string& strText, EMsgButtons eButtons) override;

    const std::vector<SShownBox>& Shown() const { return m_shown; }
    /// The texts of all boxes shown so far, in order.
    std::vector<std::string> Texts() const;
    void Clear() { m_shown.clear(); }
    /// Scripted answers no question has taken yet.
    size_t UnusedAnswers() const { return m_answers.size(); }

private:
    std::deque<int> m_answers;
    std::vector<SShownBox> m_shown;
};

class CScriptedMessageBox : public CMessageBoxRecorder {
public:
    CScriptedMessageBox();
    ~CScriptedMessageBox() override;
    CScriptedMessageBox(const CScriptedMessageBox&) = delete;
    CScriptedMessageBox& operator=(const CScriptedMessageBox&) = delete;

private:
    CMessageBoxHandler* m_pPrevious;
};
