// View > Product: the radio the option board is fitted in.
#pragma once

#include "dialogs/centerdlg.h"

class QComboBox;
class TBoardData;

class TProductDlg final : public TCenterDlg {
    Q_OBJECT
  public:
    TProductDlg(QWidget* parent, TBoardData& document);

  protected:
    void SetupWindow() override;
    bool CanClose() override;

  private:
    TBoardData& document_;
    QComboBox* product_;
    QComboBox* model_;
};
