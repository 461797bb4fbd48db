// A limit on what the operator types into a box, not on what the program puts there. A
// QLineEdit's maxLength also cuts text set by the program: a DAC header box takes 39 typed
// characters but shows the whole 40-code run of a recalled record.
#pragma once

#include <QValidator>

class QLineEdit;

namespace trellicap {

class TypingLimit : public QValidator {
    Q_OBJECT
public:
    // Installs itself on the box.
    TypingLimit(QLineEdit& box, int maxTyped);

    // Text the program sets is taken whole. An edit of the operator is cut as maxLength
    // would cut it: what it inserts is kept only as far as the text stays within maxTyped
    // characters, or within the length the box held before (a longer text the program set
    // can be typed over or shortened, never lengthened).
    State validate(QString& input, int& pos) const override;

signals:
    // An edit was cut short at `limit` characters (typed past it, or pasted too long).
    void cutShort(int limit) const;

private:
    QLineEdit& m_box;
    int m_maxTyped;
    QString m_before;
};

}  // namespace trellicap
