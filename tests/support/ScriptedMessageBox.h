#pragma once
// Test double of the message box: records every box shown and answers from a
// script. Installs itself for its lifetime.

#include "platform/MessageBox.h"

#include <deque>
#include <string>
#include <vector>

struct SShownBox {
    std::string strText;
    EMsgButtons eButtons;
};

class CScriptedMessageBox : public CMessageBoxHandler {
public:
    CScriptedMessageBox();
    ~CScriptedMessageBox() override;

    /// Queues the answer to the next question (IDYES or IDNO). OK boxes take
    /// no answer from the queue.
    void Answer(int nButton) { m_answers.push_back(nButton); }

    int Show(const std::string& strText, EMsgButtons eButtons) override;

    const std::vector<SShownBox>& Shown() const { return m_shown; }
    /// The texts of all boxes shown so far, in order.
    std::vector<std::string> Texts() const;
    void Clear() { m_shown.clear(); }

private:
    CMessageBoxHandler* m_pPrevious;
    std::deque<int> m_answers;
    std::vector<SShownBox> m_shown;
};
