// Key presses as the engine names them: "Ctrl C", "Delete", "F2", "`" ...
// Modifiers come first in the order Ctrl, Alt, Shift.

const NAMED = {
  ArrowLeft: 'Left', ArrowRight: 'Right', ArrowUp: 'Up', ArrowDown: 'Down',
  ContextMenu: 'Application', ' ': 'Space',
};
const MODIFIERS = new Set(['Control', 'Shift', 'Alt', 'Meta', 'AltGraph', 'CapsLock']);
// Keys the page keeps for itself: Escape cancels what is under way, Tab moves
// the focus.
const PAGE_KEYS = new Set(['Escape', 'Tab']);

export function keyText(event) {
  const key = event.key;
  if (MODIFIERS.has(key) || PAGE_KEYS.has(key) || key === 'Dead' || key === 'Unidentified') return null;
  let name = NAMED[key] ?? key;
  if (name.length === 1) name = name.toUpperCase();
  const prefix = [];
  if (event.ctrlKey) prefix.push('Ctrl');
  if (event.altKey) prefix.push('Alt');
  // A shifted character already says so ("A" is not "a" ... but "!" is "!").
  if (event.shiftKey && (name.length > 1 || /[A-Z]/.test(name))) prefix.push('Shift');
  return [...prefix, name].join(' ');
}
