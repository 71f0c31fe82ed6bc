// The glue between the play and the in-game weapon popup: a handful of free
// functions through which the play hub, the weapons and the sidebar drive the
// popup controller (main_popup_cc) outside the screen stack: choose whether
// it is shown and which window, refresh it, tick it, draw it and give it the
// mouse. Every call does nothing (or answers false) while there is no popup
// controller, except that the price-above-money flag then reads true.
#pragma once

void PopupHide();
// True while a price the popup shows is above the money (or without a popup).
char PopupPriceAboveMoney();
char PopupIsShown();
// Shows the popup, refilling it when already shown and refresh is set.
void PopupShow(char refresh);
// Shows the Sidebar window for a hovered, enabled slot while nothing is being
// placed, else the Weapon window for a selected weapon, else nothing;
// refresh refills a popup already shown.
void PopupRefresh(char refresh);
void PopupTick();
void PopupRender();
// Window pixels; true when the mouse is over the Weapon window.
char PopupMouseMove(float x, float y);
// True when the popup took the click.
char PopupMouseButton(int button, int state);
