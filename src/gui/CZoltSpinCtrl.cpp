#include "CZoltSpinCtrl.h"

#include <climits>

bool CZoltSpinCtrl::s_bMessageShown = false;

CZoltSpinCtrl::CZoltSpinCtrl(wxWindow* pParent, wxWindowID id, const wxString& strValue,
                             const wxPoint& pos, const wxSize& size, long nStyle, int nMin,
                             int nMax, int nInitial, const wxString& strName)
    : wxSpinCtrl(pParent, id, strValue, pos, size, nStyle, nMin, nMax, nInitial, strName)
{
}

void CZoltSpinCtrl::setNameUnit(const wxString& strName, const wxString& strUnit)
{
    m_strName = strName;
    m_strUnit = strUnit;
}

void CZoltSpinCtrl::setRangeUnit(int nMin, int nMax, const wxString& strUnit)
{
    m_bSetRange = true;
    m_strUnit = strUnit;
    SetRange(nMin, nMax);
    m_bSetRange = false;
}

int CZoltSpinCtrl::GetValue() const
{
    return checkText(GetTextValue(), false);
}

int CZoltSpinCtrl::parseText(const wxString& strText)
{
    long n = 0;
    if (!strText.ToLong(&n))
        return INT_MIN;
    return static_cast<int>(n);
}

int CZoltSpinCtrl::checkText(const wxString& strText, bool) const
{
    int n = parseText(strText);
    if (n < GetMin())
        n = GetMin();
    if (n > GetMax())
        n = GetMax();
    return n;
}

void CZoltSpinCtrl::showRangeMessage(bool, int) const {}

void CZoltSpinCtrl::connectNative() {}
