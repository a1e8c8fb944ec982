// Talks to the studio server. The token comes once in the page address; the server answers it
// with a cookie, and the header keeps requests working where the cookie is refused.
const token = new URLSearchParams(location.search).get('token');

async function call(method, path, body) {
  const headers = {};
  if (token) headers['X-Vermil-Token'] = token;
  if (body !== undefined) headers['Content-Type'] = 'application/json';
  let res;
  try {
    res = await fetch(path, { method, headers, body: body === undefined ? undefined : JSON.stringify(body) });
  } catch (err) {
    return { ok: false, error: `The studio server does not answer (${err.message})` };
  }
  try {
    const answer = await res.json();
    if (!res.ok && answer.ok === undefined) answer.ok = false;
    return answer;
  } catch {
    return { ok: false, error: `${method} ${path}: ${res.status} ${res.statusText}` };
  }
}

export const get = (path) => call('GET', path);
export const post = (path, body = {}) => call('POST', path, body);

// Error text of an answer: plain errors say "error", refused events say "message".
export const errorOf = (answer) => (answer.ok === false ? answer.error || answer.message || 'failed' : '');
