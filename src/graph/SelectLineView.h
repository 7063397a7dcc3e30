// The transparent overlay of the graph area that draws the yellow selection line; presses go through it.
#pragma once

#include <QWidget>
#include <vector>

class SelectLineView : public QWidget
{
    Q_OBJECT
public:
    explicit SelectLineView(QWidget *parent = nullptr);

    // x positions of the lines; redraws only the strips that change.
    void setSelectedVarticalLine(std::vector<double> lines);
    const std::vector<double> &selectedVarticalLine() const { return _selectedVarticalLine; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<double> _selectedVarticalLine;
};
