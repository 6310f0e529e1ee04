#pragma once
// Whether purchases go through the in-app store: the edition's text "inapp" (the purchase file) is
// not empty. The one test of it for every part of the game; with it off, everything is bought
// with the game's money.

class JCPropertyMap;

bool PurchasesEnabled(const JCPropertyMap& edition);
