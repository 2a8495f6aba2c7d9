// The server's HTTP API (docs/web.md). Gestures go out one at a time, in the
// order the user made them: a field typed into is sent before the button
// pressed after it.

export class ApiError extends Error {
  constructor(status, text) {
    super(text);
    this.status = status;
  }
}

async function answer(response) {
  let body;
  try {
    body = await response.json();
  } catch {
    throw new ApiError(response.status, `the server answered ${response.status}`);
  }
  if (!response.ok) throw new ApiError(response.status, body.error ?? `error ${response.status}`);
  return body;
}

export async function getJson(path) {
  return answer(await fetch(path, { cache: 'no-store' }));
}

let queue = Promise.resolve();

// Sends the gesture after those sent before it; resolves to its outcome.
export function sendGesture(gesture) {
  const sent = queue.then(async () =>
    answer(await fetch('/api/gesture', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify(gesture),
    })));
  queue = sent.catch(() => {});
  return sent;
}

// Outcomes and reload requests pushed by the server, from event SEQ on.
export function watch(seq, { onOutcome, onReload }) {
  const source = new EventSource(`/api/events?since=${seq}`);
  source.addEventListener('outcome', (event) => onOutcome(JSON.parse(event.data)));
  source.addEventListener('reload', () => onReload());
  return source;
}
