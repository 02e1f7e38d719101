// The workbench's token, which lets this page in. It comes once in the page's address (?token=..., the
// address zigzag serve printed); the page takes it out of the address bar at once, keeps it in the tab's
// sessionStorage (a reload, or a server restarted with the same token file, finds it there; no other tab
// and no other origin sees it) and sends it itself with every request it makes: "Authorization: Bearer"
// on a fetch, "?token=" on the socket, whose handshake a page cannot give a header of its own. The server
// sets no cookie: a browser sends a cookie of 127.0.0.1 to every server on that address, whatever its
// port, so any other local server would be handed it.
//
// The page's files are served without the token; everything else needs it, the module's pictures and the
// exports included, so the page fetches them itself and shows or saves what comes as a blob.
//
//   token                  the token, or '' when the page was opened without one
//   socketUrl(path)        the ws:// address of `path`, carrying the token
//   get(path)              the response to a GET of `path` with the token; rejects with the server's
//                          refusal (an Error whose .status is the HTTP status) when it is not 200
//   pictureUrl(path)       a promise of a blob: URL of the picture at `path`; one per path, kept
//   showPicture(img, path) shows the picture at `path` in `img`, its blob freed once shown
//   download(path)         saves the file at `path` under the name the server gives it
const STORAGE_KEY = 'zigzag-token';

function takeToken() {
  const given = new URLSearchParams(location.search).get('token');
  if (given === null) {
    try {
      return sessionStorage.getItem(STORAGE_KEY) || '';
    } catch {
      return '';
    }
  }
  const query = location.search.slice(1).split('&').filter((part) => part !== '');
  const kept = query.filter((part) => part.split('=')[0] !== 'token');
  history.replaceState(history.state, '', location.pathname + (kept.length ? `?${kept.join('&')}` : '') +
                                         location.hash);
  try {
    sessionStorage.setItem(STORAGE_KEY, given);
  } catch {
    // Storage is off in this browser: the token lives as long as the page.
  }
  return given;
}

export const token = takeToken();

export function socketUrl(path) {
  const scheme = location.protocol === 'https:' ? 'wss' : 'ws';
  return `${scheme}://${location.host}${path}?token=${encodeURIComponent(token)}`;
}

export async function get(path) {
  const response = await fetch(path, { headers: { Authorization: `Bearer ${token}` }, cache: 'no-store' });
  if (response.ok) return response;
  let why = `${path}: ${response.status} ${response.statusText}`;
  try {
    why = (await response.json()).error || why;
  } catch {
    // Not the server's JSON refusal: the status says it.
  }
  throw Object.assign(new Error(why), { status: response.status });
}

const pictures = new Map(); // path -> promise of its blob: URL

export function pictureUrl(path) {
  if (!pictures.has(path)) {
    const made = get(path).then((response) => response.blob()).then((blob) => URL.createObjectURL(blob));
    made.catch(() => pictures.delete(path));
    pictures.set(path, made);
  }
  return pictures.get(path);
}

export function showPicture(img, path) {
  return get(path).then((response) => response.blob()).then((blob) => {
    const url = URL.createObjectURL(blob);
    img.addEventListener('load', () => URL.revokeObjectURL(url), { once: true });
    img.addEventListener('error', () => URL.revokeObjectURL(url), { once: true });
    img.src = url;
  });
}

// The file name in a Content-Disposition header: the UTF-8 one when there is one, else the plain one.
function fileName(disposition, fallback) {
  const utf8 = /filename\*=UTF-8''([^;]+)/i.exec(disposition);
  if (utf8) {
    try {
      return decodeURIComponent(utf8[1]);
    } catch {
      // A broken escape: the plain name below.
    }
  }
  const plain = /filename="([^"]*)"/i.exec(disposition);
  return plain ? plain[1] : fallback;
}

export async function download(path) {
  const response = await get(path);
  const name = fileName(response.headers.get('Content-Disposition') || '', path.split('/').pop().split('?')[0]);
  const url = URL.createObjectURL(await response.blob());
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}
